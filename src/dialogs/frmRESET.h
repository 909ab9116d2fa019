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
    QSlider *SliderLowInput_ = nullptr, *SliderHighInput_ = nullptr, *SliderLowSetpoint_ = nullptr,
            *SliderHighSetpoint_ = nullptr;
    QLineEdit *TextLowInput_ = nullptr, *TextHighInput_ = nullptr, *TextLowSetpoint_ = nullptr,
              *TextHighSetpoint_ = nullptr;
    QLabel *LabelLowLowInput_ = nullptr, *LabelHighLowInput_ = nullptr,
           *LabelLowHighInput_ = nullptr, *LabelHighHighInput_ = nullptr;
    QLabel *LabelLowLowSetpoint_ = nullptr, *LabelHighLowSetpoint_ = nullptr,
           *LabelLowHighSetpoint_ = nullptr, *LabelHighHighSetpoint_ = nullptr;
    QRadioButton *OptionDirect_ = nullptr, *OptionReverse_ = nullptr;
    QGroupBox *Frame1_ = nullptr, *Frame2_ = nullptr, *Frame3_ = nullptr, *Frame4_ = nullptr;
    QPushButton *CommandOK_ = nullptr, *CommandCancel_ = nullptr;
};

} // namespace kym
