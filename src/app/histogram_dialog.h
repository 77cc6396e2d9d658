#pragma once
// "Histogram": the counts of the elevations in equal bins drawn as a graph, the bin under the
// mouse read out, and the range edited and counted again on "&Refresh". It only reads the
// Surface; OK keeps the range and bin count for the command, Cancel keeps nothing.

#include "core/dialog_fields.h"

#include <QDialog>
#include <QWidget>

class QLabel;
class QLineEdit;
class QSpinBox;

namespace korvel {

class Workspace;

// The bins side by side, each as high as its count against the fullest bin, times the vertical
// scale.
class HistogramGraph : public QWidget {
    Q_OBJECT

public:
    explicit HistogramGraph(QWidget* parent);
    void SetHistogram(const HistogramResult* histogram);
    double VerticalScale() const { return Scale; }
    void SetVerticalScale(double scale);

signals:
    // The mouse stands over column x of the graph.
    void Hovered(int x);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    const HistogramResult* Shown = nullptr;
    double Scale = 1.0;
};

class HistogramDialog : public QDialog {
    Q_OBJECT

public:
    HistogramDialog(Workspace& ws, QWidget* parent);

    // Counts again over the range and bin count as typed; false (after saying why) when one of
    // them is not a number.
    bool Refresh();
    const HistogramResult& Counted() const { return Result; }
    HistogramGraph* Graph() const { return Bars; }

public slots:
    // Keeps the range and bin count when they are numbers.
    void accept() override;

private:
    bool ReadFields(HistogramFields& fields);
    void ShowBin(int x);
    void ShowSides();

    Workspace& Ws;
    HistogramResult Result;
    HistogramGraph* Bars;
    QLineEdit* Lowest;
    QLineEdit* Highest;
    QSpinBox* Bins;
    QLabel* BinLow;
    QLabel* BinHigh;
    QLabel* SampleCount;
    QLabel* Percentile;
    QLabel* Below;
    QLabel* Above;
};

// Runs the dialog over ws.Histogram; true when it was closed with OK.
bool RunHistogramDialog(Workspace& ws, QWidget* parent);

} // namespace korvel
