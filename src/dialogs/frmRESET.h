#pragma once

#include "dialogs/SetpointRange.h"

#include <QDialog>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSlider;

namespace kym {

// The setpoint range dialog: shows a SetpointRange and hands it the user's slider moves, option
// clicks and typing. OK writes the four texts into the grid.
class frmRESET : public QDialog {
    Q_OBJECT
public:
    frmRESET(RegisterGrid& grid, SetpointRangeTarget target, QWidget* parent = nullptr);

private Q_SLOTS:
    void SliderLowInput_Scroll();
    void SliderHighInput_Scroll();
    void SliderLowSetpoint_Scroll();
    void SliderHighSetpoint_Scroll();
    void OptionDirect_Click();
    void OptionReverse_Click();
    void CommandOK_Click();
    void CommandCancel_Click();

private:
    void createControls();
    void layOut();
    void connectHandlers();
    // A slider moved by the user: take its position, run the handler, show the result.
    void scrolled(QSlider* slider, SliderState& state, void (SetpointRange::*handler)());
    // Copies the model's sliders, texts, captions and options into the controls.
    void showState();

    SetpointRange model_;
    bool showing_ = false;
    QSlider *SliderLowInput_, *SliderHighInput_, *SliderLowSetpoint_, *SliderHighSetpoint_;
    QLineEdit *TextLowInput_, *TextHighInput_, *TextLowSetpoint_, *TextHighSetpoint_;
    QLabel *LabelLowLowInput_, *LabelHighLowInput_, *LabelLowHighInput_, *LabelHighHighInput_;
    QLabel *LabelLowLowSetpoint_, *LabelHighLowSetpoint_, *LabelLowHighSetpoint_,
        *LabelHighHighSetpoint_;
    QRadioButton *OptionDirect_, *OptionReverse_;
    QGroupBox *Frame1_, *Frame2_, *Frame3_, *Frame4_;
    QPushButton *CommandOK_, *CommandCancel_;
};

} // namespace kym
