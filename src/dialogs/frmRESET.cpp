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
    layOut();
    connectHandlers();
    model_.Form_Load();
    showState();
}

void frmRESET::createControls() {
    const auto slider = [this](const char* name, const char* label) {
        return named<QSlider>(new SelectionSlider(this), name, toQt(label));
    };
    SliderLowInput_ = slider("SliderLowInput", "Low input");
    SliderHighInput_ = slider("SliderHighInput", "High input");
    SliderLowSetpoint_ = slider("SliderLowSetpoint", "Low setpoint");
    SliderHighSetpoint_ = slider("SliderHighSetpoint", "High setpoint");

    TextLowInput_ = makeLineEdit(this, "TextLowInput", QStringLiteral("Low input value"));
    TextHighInput_ = makeLineEdit(this, "TextHighInput", QStringLiteral("High input value"));
    TextLowSetpoint_ = makeLineEdit(this, "TextLowSetpoint", QStringLiteral("Low setpoint value"));
    TextHighSetpoint_ =
        makeLineEdit(this, "TextHighSetpoint", QStringLiteral("High setpoint value"));

    // The end labels show numbers; their names say which end of which slider.
    const auto endLabel = [this](const char* name, const char* label) {
        return named(new QLabel(this), name, toQt(label));
    };
    LabelLowLowInput_ = endLabel("LabelLowLowInput", "Low input, lowest");
    LabelHighLowInput_ = endLabel("LabelHighLowInput", "Low input, highest");
    LabelLowHighInput_ = endLabel("LabelLowHighInput", "High input, lowest");
    LabelHighHighInput_ = endLabel("LabelHighHighInput", "High input, highest");
    LabelLowLowSetpoint_ = endLabel("LabelLowLowSetpoint", "Low setpoint, left end");
    LabelHighLowSetpoint_ = endLabel("LabelHighLowSetpoint", "Low setpoint, right end");
    LabelLowHighSetpoint_ = endLabel("LabelLowHighSetpoint", "High setpoint, left end");
    LabelHighHighSetpoint_ = endLabel("LabelHighHighSetpoint", "High setpoint, right end");

    Frame2_ = makeFrame(this, "Frame2", QStringLiteral("Setpoint"));
    Frame1_ = makeFrame(Frame2_, "Frame1", QStringLiteral("Input Range"));
    Frame3_ = makeFrame(Frame2_, "Frame3", QStringLiteral("Setpoint Range"));
    OptionDirect_ = makeOption(Frame3_, "OptionDirect", QStringLiteral("Direct Acting"));
    OptionReverse_ = makeOption(Frame3_, "OptionReverse", QStringLiteral("Reverse Acting"));
    Frame4_ = makeFrame(this, "Frame4", QStringLiteral("Settings"));
    CommandOK_ = makeButton(this, "CommandOK", QStringLiteral("OK"));
    CommandCancel_ = makeButton(this, "CommandCancel", QStringLiteral("Cancel"));
}

void frmRESET::layOut() {
    const auto sliderRow = [](QGridLayout* grid, int row, QLabel* low, QSlider* slider,
                              QLabel* high) {
        grid->addWidget(low, row, 0, Qt::AlignRight);
        grid->addWidget(slider, row, 1);
        grid->addWidget(high, row, 2);
        slider->setMinimumWidth(260);
    };
    auto* inputs = new QGridLayout(Frame1_);
    sliderRow(inputs, 0, LabelLowLowInput_, SliderLowInput_, LabelHighLowInput_);
    sliderRow(inputs, 1, LabelLowHighInput_, SliderHighInput_, LabelHighHighInput_);

    auto* setpoints = new QGridLayout(Frame3_);
    auto* options = new QHBoxLayout;
    options->addWidget(OptionDirect_);
    options->addWidget(OptionReverse_);
    setpoints->addLayout(options, 0, 0, 1, 3);
    sliderRow(setpoints, 1, LabelLowLowSetpoint_, SliderLowSetpoint_, LabelHighLowSetpoint_);
    sliderRow(setpoints, 2, LabelLowHighSetpoint_, SliderHighSetpoint_, LabelHighHighSetpoint_);

    auto* ranges = new QVBoxLayout(Frame2_);
    ranges->addWidget(Frame1_);
    ranges->addWidget(Frame3_);

    auto* settings = new QGridLayout(Frame4_);
    settings->addWidget(makeLabel(Frame4_, "Label9", QStringLiteral("Input"), TextLowInput_), 0, 0);
    settings->addWidget(TextLowInput_, 0, 1);
    settings->addWidget(TextHighInput_, 0, 2);
    settings->addWidget(
        makeLabel(Frame4_, "Label10", QStringLiteral("Setpoints"), TextLowSetpoint_), 1, 0);
    settings->addWidget(TextLowSetpoint_, 1, 1);
    settings->addWidget(TextHighSetpoint_, 1, 2);

    auto* content = new QVBoxLayout;
    content->addWidget(Frame2_);
    content->addWidget(Frame4_);
    layOutWithButtons(this, content, CommandOK_, CommandCancel_);
}

// Every handler is connected here. Sliders report only the user's moves: showState() moves them
// from code with showing_ set, and those moves run no handler.
void frmRESET::connectHandlers() {
    connect(SliderLowInput_, &QSlider::valueChanged, this, &frmRESET::SliderLowInput_Scroll);
    connect(SliderHighInput_, &QSlider::valueChanged, this, &frmRESET::SliderHighInput_Scroll);
    connect(SliderLowSetpoint_, &QSlider::valueChanged, this, &frmRESET::SliderLowSetpoint_Scroll);
    connect(SliderHighSetpoint_, &QSlider::valueChanged, this,
            &frmRESET::SliderHighSetpoint_Scroll);
    connect(OptionDirect_, &QRadioButton::clicked, this, &frmRESET::OptionDirect_Click);
    connect(OptionReverse_, &QRadioButton::clicked, this, &frmRESET::OptionReverse_Click);
    connect(CommandOK_, &QPushButton::clicked, this, &frmRESET::CommandOK_Click);
    connect(CommandCancel_, &QPushButton::clicked, this, &frmRESET::CommandCancel_Click);
    const auto typed = [this](QLineEdit* box, std::string SetpointRange::*text) {
        connect(box, &QLineEdit::textEdited, this,
                [this, text](const QString& value) { model_.*text = fileTextFromQt(value); });
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
    showState();
}

void frmRESET::SliderLowInput_Scroll() {
    scrolled(SliderLowInput_, model_.SliderLowInput, &SetpointRange::SliderLowInput_Scroll);
}
void frmRESET::SliderHighInput_Scroll() {
    scrolled(SliderHighInput_, model_.SliderHighInput, &SetpointRange::SliderHighInput_Scroll);
}
void frmRESET::SliderLowSetpoint_Scroll() {
    scrolled(SliderLowSetpoint_, model_.SliderLowSetpoint,
             &SetpointRange::SliderLowSetpoint_Scroll);
}
void frmRESET::SliderHighSetpoint_Scroll() {
    scrolled(SliderHighSetpoint_, model_.SliderHighSetpoint,
             &SetpointRange::SliderHighSetpoint_Scroll);
}

void frmRESET::OptionDirect_Click() {
    model_.OptionDirect = true;
    model_.OptionReverse = false;
    model_.OptionDirect_Click();
    showState();
}

void frmRESET::OptionReverse_Click() {
    model_.OptionReverse = true;
    model_.OptionDirect = false;
    model_.OptionReverse_Click();
    showState();
}

void frmRESET::CommandOK_Click() {
    model_.CommandOK_Click();
    accept();
}

void frmRESET::CommandCancel_Click() {
    reject();
}

void frmRESET::showState() {
    showing_ = true;
    const auto showSlider = [](QSlider* slider, const SliderState& state) {
        slider->setRange(state.min, state.max);
        slider->setValue(state.position);
        slider->setSingleStep(state.smallChange);
        slider->setPageStep(state.largeChange);
        slider->setTickInterval(state.tickFrequency);
        static_cast<SelectionSlider*>(slider)->setSelection(
            state.selectRange ? state.selStart : 0, state.selectRange ? state.selLength : 0);
    };
    showSlider(SliderLowInput_, model_.SliderLowInput);
    showSlider(SliderHighInput_, model_.SliderHighInput);
    showSlider(SliderLowSetpoint_, model_.SliderLowSetpoint);
    showSlider(SliderHighSetpoint_, model_.SliderHighSetpoint);

    // The four texts are cells of the grid: file text.
    const auto showText = [](QLineEdit* box, const std::string& text) {
        if (const QString shown = fileTextToQt(text); box->text() != shown)
            box->setText(shown);
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
