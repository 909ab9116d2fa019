#include "dialogs/frmRESET.h"

#include "ui/DialogParts.h"
#include "ui/Text.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QStyleOptionSlider>
#include <QVBoxLayout>

namespace kym {
namespace {

// A horizontal slider that also shades its selected span, as the dialog's sliders show the
// range still open to them.
class SelectionSlider : public QSlider {
public:
    explicit SelectionSlider(QWidget* parent) : QSlider(Qt::Horizontal, parent) {
        setTickPosition(QSlider::TicksBelow);
    }
    void setSelection(int start, int length) {
        selStart_ = start;
        selLength_ = length;
        update();
    }

protected:
    void paintEvent(QPaintEvent* event) override {
        QSlider::paintEvent(event);
        if (selLength_ <= 0 || maximum() <= minimum())
            return;
        QStyleOptionSlider option;
        initStyleOption(&option);
        const QRect groove =
            style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderGroove, this);
        const auto x = [&](int value) {
            return QStyle::sliderPositionFromValue(minimum(), maximum(), value, groove.width()) +
                   groove.left();
        };
        const int left = x(std::max(selStart_, minimum()));
        const int right = x(std::min(selStart_ + selLength_, maximum()));
        QPainter painter(this);
        QColor shade = palette().color(QPalette::Highlight);
        shade.setAlpha(90);
        painter.fillRect(QRect(left, groove.center().y() - 2, right - left, 5), shade);
    }

private:
    int selStart_ = 0;
    int selLength_ = 0;
};

} // namespace

frmRESET::frmRESET(RegisterGrid& grid, SetpointRangeTarget target, QWidget* parent)
    : QDialog(parent), model_(grid, std::move(target)) {
    setObjectName(QStringLiteral("frmRESET"));
    createControls();
    connectHandlers();
    model_.Form_Load();
    showModel();
}

void frmRESET::createControls() {
    const auto slider = [this](const char* name, const char* label) {
        return named<QSlider>(new SelectionSlider(this), name, QString::fromLatin1(label));
    };
    SliderLowInput_ = slider("SliderLowInput", "Low input");
    SliderHighInput_ = slider("SliderHighInput", "High input");
    SliderLowSetpoint_ = slider("SliderLowSetpoint", "Low setpoint");
    SliderHighSetpoint_ = slider("SliderHighSetpoint", "High setpoint");

    TextLowInput_ = makeLineEdit(this, "TextLowInput", QStringLiteral("Low input value"));
    TextHighInput_ = makeLineEdit(this, "TextHighInput", QStringLiteral("High input value"));
    TextLowSetpoint_ = makeLineEdit(this, "TextLowSetpoint", QStringLiteral("Low setpoint value"));
    TextHighSetpoint_ = makeLineEdit(this, "TextHighSetpoint", QStringLiteral("High setpoint value"));

    const auto endLabel = [this](const char* name, const char* label) {
        return named(new QLabel(this), name, QString::fromLatin1(label));
    };
    LabelLowLowInput_ = endLabel("LabelLowLowInput", "Low input, lowest");
    LabelHighLowInput_ = endLabel("LabelHighLowInput", "Low input, highest");
    LabelLowHighInput_ = endLabel("LabelLowHighInput", "High input, lowest");
    LabelHighHighInput_ = endLabel("LabelHighHighInput", "High input, highest");
    LabelLowLowSetpoint_ = endLabel("LabelLowLowSetpoint", "Low setpoint, left end");
    LabelHighLowSetpoint_ = endLabel("LabelHighLowSetpoint", "Low setpoint, right end");
    LabelLowHighSetpoint_ = endLabel("LabelLowHighSetpoint", "High setpoint, left end");
    LabelHighHighSetpoint_ = endLabel("LabelHighHighSetpoint", "High setpoint, right end");

    OptionDirect_ = named(new QRadioButton(QStringLiteral("Direct Acting"), this), "OptionDirect",
                          QStringLiteral("Direct Acting"));
    OptionReverse_ = named(new QRadioButton(QStringLiteral("Reverse Acting"), this), "OptionReverse",
                           QStringLiteral("Reverse Acting"));

    const auto sliderRow = [](QGridLayout* grid, int row, QLabel* low, QSlider* slider, QLabel* high) {
        grid->addWidget(low, row, 0, Qt::AlignRight);
        grid->addWidget(slider, row, 1);
        grid->addWidget(high, row, 2);
        slider->setMinimumWidth(260);
    };

    auto* frame1 = named(new QGroupBox(QStringLiteral("Input Range"), this), "Frame1",
                         QStringLiteral("Input Range"));
    auto* inputs = new QGridLayout(frame1);
    sliderRow(inputs, 0, LabelLowLowInput_, SliderLowInput_, LabelHighLowInput_);
    sliderRow(inputs, 1, LabelLowHighInput_, SliderHighInput_, LabelHighHighInput_);

    auto* frame3 = named(new QGroupBox(QStringLiteral("Setpoint Range"), this), "Frame3",
                         QStringLiteral("Setpoint Range"));
    auto* setpoints = new QGridLayout(frame3);
    auto* options = new QHBoxLayout;
    options->addWidget(OptionDirect_);
    options->addWidget(OptionReverse_);
    setpoints->addLayout(options, 0, 0, 1, 3);
    sliderRow(setpoints, 1, LabelLowLowSetpoint_, SliderLowSetpoint_, LabelHighLowSetpoint_);
    sliderRow(setpoints, 2, LabelLowHighSetpoint_, SliderHighSetpoint_, LabelHighHighSetpoint_);

    auto* frame2 = named(new QGroupBox(QStringLiteral("Setpoint"), this), "Frame2",
                         QStringLiteral("Setpoint"));
    auto* frame2Layout = new QVBoxLayout(frame2);
    frame2Layout->addWidget(frame1);
    frame2Layout->addWidget(frame3);

    auto* frame4 = named(new QGroupBox(QStringLiteral("Settings"), this), "Frame4",
                         QStringLiteral("Settings"));
    auto* settings = new QGridLayout(frame4);
    auto* label9 = makeLabel(frame4, "Label9", QStringLiteral("Input"), TextLowInput_);
    auto* label10 = makeLabel(frame4, "Label10", QStringLiteral("Setpoints"), TextLowSetpoint_);
    settings->addWidget(label9, 0, 0);
    settings->addWidget(TextLowInput_, 0, 1);
    settings->addWidget(TextHighInput_, 0, 2);
    settings->addWidget(label10, 1, 0);
    settings->addWidget(TextLowSetpoint_, 1, 1);
    settings->addWidget(TextHighSetpoint_, 1, 2);

    auto* content = new QVBoxLayout;
    content->addWidget(frame2);
    content->addWidget(frame4);
    layOutWithButtons(this, content, makeButton(this, "CommandOK", QStringLiteral("OK")),
                      makeButton(this, "CommandCancel", QStringLiteral("Cancel")));
}

// Every handler is connected here. Sliders report only the user's moves: showModel() moves them
// from code with showing_ set, and those moves run no handler.
void frmRESET::connectHandlers() {
    connect(SliderLowInput_, &QSlider::valueChanged, this, &frmRESET::SliderLowInput_Scroll);
    connect(SliderHighInput_, &QSlider::valueChanged, this, &frmRESET::SliderHighInput_Scroll);
    connect(SliderLowSetpoint_, &QSlider::valueChanged, this, &frmRESET::SliderLowSetpoint_Scroll);
    connect(SliderHighSetpoint_, &QSlider::valueChanged, this, &frmRESET::SliderHighSetpoint_Scroll);
    connect(OptionDirect_, &QRadioButton::clicked, this, &frmRESET::OptionDirect_Click);
    connect(OptionReverse_, &QRadioButton::clicked, this, &frmRESET::OptionReverse_Click);
    connect(findChild<QPushButton*>(QStringLiteral("CommandOK")), &QPushButton::clicked, this,
            &frmRESET::CommandOK_Click);
    connect(findChild<QPushButton*>(QStringLiteral("CommandCancel")), &QPushButton::clicked, this,
            &frmRESET::CommandCancel_Click);
    const auto typed = [this](QLineEdit* box, std::string SetpointRange::*text) {
        connect(box, &QLineEdit::textEdited, this,
                [this, text](const QString& value) { model_.*text = fromQt(value); });
    };
    typed(TextLowInput_, &SetpointRange::TextLowInput);
    typed(TextHighInput_, &SetpointRange::TextHighInput);
    typed(TextLowSetpoint_, &SetpointRange::TextLowSetpoint);
    typed(TextHighSetpoint_, &SetpointRange::TextHighSetpoint);
}

void frmRESET::scrolled(QSlider* slider, SliderState& state, void (SetpointRange::*handler)()) {
    if (showing_)
        return;
    state.setPosition(slider->value());
    (model_.*handler)();
    showModel();
}

void frmRESET::SliderLowInput_Scroll() {
    scrolled(SliderLowInput_, model_.SliderLowInput, &SetpointRange::SliderLowInput_Scroll);
}
void frmRESET::SliderHighInput_Scroll() {
    scrolled(SliderHighInput_, model_.SliderHighInput, &SetpointRange::SliderHighInput_Scroll);
}
void frmRESET::SliderLowSetpoint_Scroll() {
    scrolled(SliderLowSetpoint_, model_.SliderLowSetpoint, &SetpointRange::SliderLowSetpoint_Scroll);
}
void frmRESET::SliderHighSetpoint_Scroll() {
    scrolled(SliderHighSetpoint_, model_.SliderHighSetpoint,
             &SetpointRange::SliderHighSetpoint_Scroll);
}

void frmRESET::OptionDirect_Click() {
    model_.OptionDirect = true;
    model_.OptionReverse = false;
    model_.OptionDirect_Click();
    showModel();
}

void frmRESET::OptionReverse_Click() {
    model_.OptionReverse = true;
    model_.OptionDirect = false;
    model_.OptionReverse_Click();
    showModel();
}

void frmRESET::CommandOK_Click() {
    model_.CommandOK_Click();
    accept();
}

void frmRESET::CommandCancel_Click() { reject(); }

void frmRESET::showModel() {
    showing_ = true;
    const auto showSlider = [](QSlider* slider, const SliderState& state) {
        slider->setRange(state.min, state.max);
        slider->setValue(state.position);
        slider->setSingleStep(state.smallChange);
        slider->setPageStep(state.largeChange);
        slider->setTickInterval(state.tickFrequency);
        static_cast<SelectionSlider*>(slider)->setSelection(state.selectRange ? state.selStart : 0,
                                                            state.selectRange ? state.selLength : 0);
    };
    showSlider(SliderLowInput_, model_.SliderLowInput);
    showSlider(SliderHighInput_, model_.SliderHighInput);
    showSlider(SliderLowSetpoint_, model_.SliderLowSetpoint);
    showSlider(SliderHighSetpoint_, model_.SliderHighSetpoint);

    const auto showText = [](QLineEdit* box, const std::string& text) {
        if (box->text() != toQt(text))
            box->setText(toQt(text));
    };
    showText(TextLowInput_, model_.TextLowInput);
    showText(TextHighInput_, model_.TextHighInput);
    showText(TextLowSetpoint_, model_.TextLowSetpoint);
    showText(TextHighSetpoint_, model_.TextHighSetpoint);

    for (auto [label, text] : {std::pair{LabelLowLowInput_, &model_.LabelLowLowInput},
                               std::pair{LabelHighLowInput_, &model_.LabelHighLowInput},
                               std::pair{LabelLowHighInput_, &model_.LabelLowHighInput},
                               std::pair{LabelHighHighInput_, &model_.LabelHighHighInput},
                               std::pair{LabelLowLowSetpoint_, &model_.LabelLowLowSetpoint},
                               std::pair{LabelHighLowSetpoint_, &model_.LabelHighLowSetpoint},
                               std::pair{LabelLowHighSetpoint_, &model_.LabelLowHighSetpoint},
                               std::pair{LabelHighHighSetpoint_, &model_.LabelHighHighSetpoint}})
        label->setText(toQt(*text));

    OptionDirect_->setChecked(model_.OptionDirect);
    OptionReverse_->setChecked(model_.OptionReverse);
    OptionReverse_->setVisible(model_.optionReverseVisible);
    setWindowTitle(toQt(model_.caption));
    showing_ = false;
}

} // namespace kym
