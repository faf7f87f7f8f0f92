#pragma once
// TReportProperties, "Report Layout": the page (orientation, size, margins) and each band's
// borders and shade of a banded report, beside a miniature of the page.

#include "reportvars.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTabWidget;

namespace postavo::reports {

class TReportProperties : public QDialog {
    Q_OBJECT
public:
    static constexpr int kHelpTopic = 1078;

    // Works on a copy of `vars`; `ppi` converts its pixels.
    TReportProperties(const ReportVars& vars, double ppi, QWidget* parent = nullptr);

    // The settings as the dialog shows them now, and the page description of its paper.
    ReportVars result() const;
    QString pageDescription() const;

    // "Defaults": Letter, portrait, margins 0.5, every band without borders, line width 1,
    // white, no shade.
    void setDefaults();
    // Opens the tab of band `which` (the miniature's clicks).
    void showBand(int which);

    QTabWidget* tabs() const { return tabs_; }
    QRadioButton* landscapeButton() const { return landscape_; }
    QRadioButton* a4Button() const { return a4_; }
    QRadioButton* letterButton() const { return letter_; }
    QDoubleSpinBox* marginBox(int i) const { return margins_[i]; } // left, top, right, bottom
    QCheckBox* borderBox(int band, int side) const { return borders_[band][side]; } // top, left, bottom, right
    QSpinBox* lineWidthBox(int band) const { return lineWidth_[band]; }
    QComboBox* shadeBox(int band) const { return shade_[band]; }
    QWidget* miniature() const { return miniature_; }

private:
    void load(const ReportVars& vars);
    void chooseShadeColour(int band);

    ReportVars vars_;
    double ppi_;
    QTabWidget* tabs_ = nullptr;
    QRadioButton* portrait_ = nullptr;
    QRadioButton* landscape_ = nullptr;
    QRadioButton* letter_ = nullptr;
    QRadioButton* a4_ = nullptr;
    QDoubleSpinBox* margins_[4] = {};
    QCheckBox* borders_[4][4] = {};
    QSpinBox* lineWidth_[4] = {};
    QComboBox* shade_[4] = {};
    QPushButton* colour_[4] = {};
    design::TColor colours_[4] = {};
    QWidget* miniature_ = nullptr;
    friend class ReportMiniature;
};

} // namespace postavo::reports
