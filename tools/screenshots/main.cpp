// Makes the pictures of docs/user-guide.md: the editor with its real windows, on a fixed style
// and font and a home folder of its own, driven through its menus, grid and dialogs to each state
// the guide shows; the transfer window sends to a unit that `kymtool simulate` plays.
// Usage: kym_screenshots OUTPUT_FOLDER KYMTOOL

#include "config/ConfigFile.h"
#include "config/DeviceTypes.h"
#include "config/Layout.h"
#include "editor/CellEditors.h"
#include "editor/FlexGrid.h"
#include "editor/RegisterGridView.h"
#include "ui/QtSettingsStore.h"
#include "ui/Text.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QPainter>
#include <QProcess>
#include <QStyle>
#include <QTest>
#include <cstdio>
#include <deque>
#include <fstream>

namespace kym {
namespace {

namespace fs = std::filesystem;

// Lets the window system show and lay out what was just asked for.
void settle(int milliseconds = 200) {
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < milliseconds)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
}

bool waitUntil(const std::function<bool()>& done, int milliseconds) {
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < milliseconds)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return done();
}

// Answers each file dialog with the next planned file.
class PlannedFileDialogs : public FileDialogs {
public:
    std::optional<fs::path> openFile(const FileDialogRequest&) override { return next(); }
    std::optional<fs::path> saveFile(const FileDialogRequest&) override { return next(); }
    std::deque<fs::path> choices;

private:
    std::optional<fs::path> next() {
        if (choices.empty())
            return std::nullopt;
        fs::path choice = choices.front();
        choices.pop_front();
        return choice;
    }
};

// No picture needs a message box: one that appears is noted as a fault and answered No or OK.
class NotingPrompter : public Prompter {
public:
    Answer show(const std::string& text, Buttons buttons, Icon) override {
        shown.push_back(text);
        return buttons == Buttons::YesNo ? Answer::No
               : buttons == Buttons::Ok  ? Answer::Ok
                                         : Answer::Cancel;
    }
    std::vector<std::string> shown;
};

struct Pick {
    int row;
    int col;
    const char* entry;
};

// The document of the pictures: two temperature and humidity outputs, a counter, two digital
// outputs.
const Pick kDocumentPicks[] = {
    {1, 1, "1A2"}, {1, 2, "1"}, {1, 3, "THERM 20k"}, {1, 4, "-40"}, {1, 5, "120"},
    {2, 1, "1A2"}, {2, 2, "2"}, {2, 3, "HUMIDITY"},  {2, 4, "0"},   {2, 5, "100"},
    {3, 1, "2F0"}, {3, 2, "1"}, {3, 3, "COUNT"},     {3, 4, "0"},   {3, 5, "4095"},
    {5, 1, "1A2"}, {5, 2, "3"}, {6, 1, "2F0"},       {6, 2, "2"},
};

class Screenshots {
public:
    Screenshots(QString output, QString kymtool)
        : output_(std::move(output)), kymtool_(std::move(kymtool)) {}

    int run();

private:
    void startUp();
    void document();
    void editingBox();
    void options();
    void transfer();
    void ftp();
    void setpointRange();

    void trigger(const char* action);
    void openFile(const fs::path& path);
    void clickCell(int row, int col);
    void pick(const Pick& pick);
    void save(const QPixmap& picture, const QWidget& window, const char* name);
    void fault(const QString& text) { faults_.push_back(text); }
    int showDialog(QDialog& dialog);

    QString output_;
    QString kymtool_;
    QStringList faults_;
    ProgramState state_;
    NotingPrompter prompter_;
    PlannedFileDialogs dialogs_;
    Folders folders_ = Folders::forUser();
    // What to do with the next dialog once it is on screen; it is closed afterwards.
    std::function<void(QDialog&)> drive_;
    // HOME is a temporary folder by now, so the settings file is too.
    QtSettingsStore settings_{QStringLiteral("kym"), QStringLiteral("kymeditor")};
    FlexGrid window_{state_,
                     Services{prompter_, dialogs_,
                              [this](QDialog& dialog) { return showDialog(dialog); }, folders_},
                     settings_};
};

template <class Widget> Widget* child(QWidget& parent, const char* name) {
    return parent.findChild<Widget*>(QString::fromLatin1(name));
}

void Screenshots::trigger(const char* action) {
    child<QAction>(window_, action)->trigger();
}

void click(QWidget& parent, const char* name) {
    if (auto* button = child<QAbstractButton>(parent, name))
        button->click();
}

// A window with a popup of its own (an open drop-down list) drawn over it where it stands.
QPixmap withPopup(QWidget& window, QWidget& popup) {
    const QRect windowArea(window.mapToGlobal(QPoint(0, 0)), window.size());
    const QRect popupArea(popup.mapToGlobal(QPoint(0, 0)), popup.size());
    const QRect area = windowArea.united(popupArea);
    QPixmap canvas(area.size());
    canvas.fill(window.palette().color(QPalette::Window));
    QPainter painter(&canvas);
    painter.drawPixmap(windowArea.topLeft() - area.topLeft(), window.grab());
    painter.drawPixmap(popupArea.topLeft() - area.topLeft(), popup.grab());
    return canvas;
}

// Under Xvfb no window manager draws frames: each picture gets a plain frame and a title bar that
// carries the window's own title.
QPixmap framed(const QPixmap& content, const QString& title) {
    const int bar = 24;
    QPixmap picture(content.width() + 2, content.height() + bar + 1);
    picture.fill(QColor(64, 68, 76));
    QPainter painter(&picture);
    painter.setPen(Qt::white);
    QFont font = QApplication::font();
    font.setBold(true);
    painter.setFont(font);
    painter.drawText(QRect(8, 0, content.width() - 16, bar), Qt::AlignVCenter | Qt::AlignLeft,
                     title);
    painter.drawPixmap(1, bar, content);
    return picture;
}

int Screenshots::run() {
    window_.show();
    window_.resize(833, 250);
    settle(500);
    startUp();
    document();
    editingBox();
    options();
    transfer();
    ftp();
    setpointRange();
    for (const std::string& text : prompter_.shown)
        fault(QStringLiteral("unexpected message box: ") + toQt(text));
    for (const QString& text : faults_)
        std::fprintf(stderr, "kym_screenshots: %s\n", qPrintable(text));
    return faults_.isEmpty() ? 0 : 1;
}

int Screenshots::showDialog(QDialog& dialog) {
    dialog.show();
    settle();
    if (drive_)
        drive_(dialog);
    drive_ = nullptr;
    dialog.reject();
    return dialog.result();
}

void Screenshots::save(const QPixmap& picture, const QWidget& window, const char* name) {
    const QString path = QDir(output_).filePath(QString::fromLatin1(name));
    if (!framed(picture, window.windowTitle()).save(path, "PNG"))
        fault(QStringLiteral("cannot write ") + path);
}

void Screenshots::clickCell(int row, int col) {
    RegisterGridView* grid = window_.MSFlexGrid1();
    const QModelIndex index = grid->model()->index(row - 1, col - 1);
    grid->scrollTo(index);
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(index).center());
}

void Screenshots::pick(const Pick& pick) {
    clickCell(pick.row, pick.col);
    QComboBox* box = window_.cellEditors().shownBox();
    const int index = box ? box->findText(QString::fromLatin1(pick.entry)) : -1;
    if (index < 0) {
        fault(QStringLiteral("no entry %1 for row %2, column %3")
                  .arg(QString::fromLatin1(pick.entry))
                  .arg(pick.row)
                  .arg(pick.col));
        return;
    }
    box->setCurrentIndex(index);
    Q_EMIT box->activated(index);
}

void Screenshots::openFile(const fs::path& path) {
    dialogs_.choices.push_back(path);
    trigger("mnuOpenConfig");
    settle();
}

void Screenshots::startUp() {
    save(window_.grab(), window_, "start-up.png");
}

// Made as a technician makes it: device type, New, picks in the grid, Save As; then opened again
// so that the title names the file.
void Screenshots::document() {
    trigger("mnuNewConfig");
    trigger("mnuNewGatewayConfig");
    for (const Pick& entry : kDocumentPicks)
        pick(entry);
    dialogs_.choices.push_back(folders_.defaultConfig());
    trigger("mnuRegistersSaveAs");
    openFile(folders_.defaultConfig());
    save(window_.grab(), window_, "document.png");
}

void Screenshots::editingBox() {
    clickCell(4, 3);
    QComboBox* box = window_.cellEditors().shownBox();
    if (!box) {
        fault(QStringLiteral("no editing box over the DATA FORMAT cell of row 4"));
        return;
    }
    box->showPopup();
    settle();
    save(withPopup(window_, *box->view()->window()), window_, "editing-box.png");
    box->hidePopup();
    settle();
}

void Screenshots::options() {
    drive_ = [this](QDialog& dialog) { save(dialog.grab(), dialog, "options.png"); };
    trigger("mnuMiscellaneous");
}

void Screenshots::transfer() {
    const QString unitLink = toQt((folders_.kym().parent_path() / "unit").string());
    QProcess unit;
    unit.start(kymtool_, {QStringLiteral("simulate"), QStringLiteral("--link"), unitLink});
    if (!waitUntil([&] { return QFileInfo(unitLink).isSymLink(); }, 5000)) {
        fault(QStringLiteral("the simulated unit did not start: ") + kymtool_);
        return;
    }
    drive_ = [&](QDialog& dialog) {
        child<QComboBox>(dialog, "portChoice")->setCurrentText(unitLink);
        click(dialog, "openPort");
        dialogs_.choices.push_back(folders_.defaultConfig());
        click(dialog, "btnSelect");
        click(dialog, "btnSendFile");
        const auto* outcome = child<QLineEdit>(dialog, "txtCommStatus");
        if (!waitUntil([&] { return outcome->text() == QStringLiteral("Acknowledge Received"); },
                       5000))
            fault(QStringLiteral("the send was not acknowledged: ") + outcome->text());
        settle();
        save(dialog.grab(), dialog, "transfer.png");
    };
    trigger("mnuFileTransfer");
    unit.terminate();
    unit.waitForFinished(2000);
}

void Screenshots::ftp() {
    const fs::path gatewayFile = folders_.kym() / "gateway.cfg";
    std::ofstream(gatewayFile) << "# the gateway's settings\n";
    drive_ = [&](QDialog& dialog) {
        dialogs_.choices.push_back(gatewayFile);
        click(dialog, "btnSelectFile");
        dialog.resize(520, dialog.height());
        settle();
        save(dialog.grab(), dialog, "ftp.png");
    };
    trigger("mnuGatewayFTP");
}

// A file whose first band drives a temperature reset controller: its RANGE START cells hold the
// low input, low setpoint, high input and high setpoint.
void writeControllerFile(const fs::path& path) {
    ProgramState state;
    state.header.deviceType = kKym3815;
    LayoutGrid(state);
    const char* const setpoints[] = {"40", "60", "160", "140"};
    for (int row = 1; row <= 4; ++row) {
        state.grid.setRow(row);
        for (auto [col, text] : {std::pair{kColTransmitterId, std::string("3C4")},
                                 std::pair{kColTransChan, std::to_string(row)},
                                 std::pair{kColDataFormat, std::string("RESET_TEMP")},
                                 std::pair{kColRangeStart, std::string(setpoints[row - 1])}}) {
            state.grid.setCol(col);
            state.grid.setText(text);
        }
    }
    std::ofstream(path, std::ios::binary) << ConvertFlexGridToString(state.header, state.grid);
}

void Screenshots::setpointRange() {
    const fs::path controller = folders_.kym3815() / "controller.vlt";
    writeControllerFile(controller);
    openFile(controller);
    clickCell(1, 3);
    drive_ = [this](QDialog& dialog) { save(dialog.grab(), dialog, "setpoint-range.png"); };
    trigger("mnuSetpointRange");
}

} // namespace
} // namespace kym

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fputs("usage: kym_screenshots OUTPUT_FOLDER KYMTOOL\n", stderr);
        return 2;
    }
    // A home of its own at a fixed place: the user's kym folder and settings stay untouched, and
    // the paths the windows show are the same in every run.
    const QString home = QDir::tempPath() + QStringLiteral("/kym-guide");
    QDir(home).removeRecursively();
    if (!QDir().mkpath(home + QStringLiteral("/kym/kym3815"))) {
        std::fprintf(stderr, "kym_screenshots: cannot make %s\n", qPrintable(home));
        return 1;
    }
    qputenv("HOME", home.toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", (home + QStringLiteral("/.config")).toLocal8Bit());
    const QString runtime = home + QStringLiteral("/.runtime");
    QDir().mkpath(runtime);
    QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    qputenv("XDG_RUNTIME_DIR", runtime.toLocal8Bit());
    qputenv("QT_QPA_PLATFORMTHEME", "");

    QApplication app(argc, argv);
    QApplication::setApplicationName(kym::toQt(kym::kDesignCaption));
    QApplication::setStyle(QStringLiteral("Fusion"));
    QApplication::setPalette(QApplication::style()->standardPalette());
    QApplication::setFont(QFont(QStringLiteral("DejaVu Sans"), 9));
    const int status =
        kym::Screenshots(QString::fromLocal8Bit(argv[1]), QString::fromLocal8Bit(argv[2])).run();
    QDir(home).removeRecursively();
    return status;
}
