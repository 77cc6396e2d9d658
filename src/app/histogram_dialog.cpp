#include "app/histogram_dialog.h"

#include "app/histogram_readout.h"
#include "core/workspace.h"
#include "edit/histogram.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace korvel {

namespace {

QString Number(double v) {
    return QString::number(v, 'g', 10);
}

// A value label named for the tests, beside its caption.
QLabel* AddReadout(QGridLayout* grid, int row, int column, const char* caption, const char* name) {
    auto* value = new QLabel("-");
    value->setObjectName(name);
    value->setMinimumWidth(90);
    grid->addWidget(new QLabel(caption), row, column);
    grid->addWidget(value, row, column + 1);
    return value;
}

} // namespace

HistogramGraph::HistogramGraph(QWidget* parent) : QWidget(parent) {
    setObjectName("graph");
    setMouseTracking(true);
    setMinimumSize(320, 160);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void HistogramGraph::SetHistogram(const HistogramResult* histogram) {
    Shown = histogram;
    update();
}

void HistogramGraph::SetVerticalScale(double scale) {
    Scale = scale;
    update();
}

void HistogramGraph::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    p.setPen(Qt::black);
    p.drawRect(rect().adjusted(0, 0, -1, -1));
    if (!Shown || Shown->Bins.empty())
        return;
    const int64_t fullest = *std::max_element(Shown->Bins.begin(), Shown->Bins.end());
    if (fullest <= 0)
        return;
    const auto count = static_cast<int64_t>(Shown->Bins.size());
    const int w = width();
    const int h = height();
    for (int64_t i = 0; i < count; ++i) {
        // Column i's bin spans the columns whose read-out names it.
        const int left = static_cast<int>((i * w + count - 1) / count);
        const int right = static_cast<int>(((i + 1) * w + count - 1) / count);
        const double share =
            static_cast<double>(Shown->Bins[static_cast<size_t>(i)]) / static_cast<double>(fullest);
        const int bar = static_cast<int>(std::lround(std::min(1.0, share * Scale) * (h - 1)));
        if (bar > 0 && right > left)
            p.fillRect(left, h - bar, std::max(1, right - left), bar, QColor(0, 0, 160));
    }
}

void HistogramGraph::mouseMoveEvent(QMouseEvent* event) {
    emit Hovered(static_cast<int>(event->position().x()));
    QWidget::mouseMoveEvent(event);
}

HistogramDialog::HistogramDialog(Workspace& ws, QWidget* parent)
    : QDialog(parent), Ws(ws), Bars(new HistogramGraph(this)), Lowest(new QLineEdit(this)),
      Highest(new QLineEdit(this)), Bins(new QSpinBox(this)) {
    setWindowTitle("Histogram");
    Lowest->setObjectName("lowest");
    Highest->setObjectName("highest");
    Bins->setObjectName("bins");
    Bins->setRange(1, 1000000);
    Lowest->setText(Number(ws.Histogram.Lowest));
    Highest->setText(Number(ws.Histogram.Highest));
    Bins->setValue(std::clamp(ws.Histogram.Bins, 1, 1000000));

    auto* readout = new QGridLayout;
    BinLow = AddReadout(readout, 0, 0, "Bin Low:", "binLow");
    BinHigh = AddReadout(readout, 1, 0, "Bin High:", "binHigh");
    SampleCount = AddReadout(readout, 0, 2, "Sample Count:", "sampleCount");
    Percentile = AddReadout(readout, 1, 2, "Percentile:", "percentile");
    Below = AddReadout(readout, 2, 0, "Below Range:", "belowRange");
    Above = AddReadout(readout, 2, 2, "Above Range:", "aboveRange");

    auto* range = new QFormLayout;
    range->addRow("&Lowest", Lowest);
    range->addRow("&Highest", Highest);
    range->addRow("&Bins", Bins);

    auto* zoom = new QHBoxLayout;
    for (const char* text : {"+", "-", "u"}) {
        auto* button = new QPushButton(text, this);
        button->setObjectName(QString("scale") + text);
        button->setAutoDefault(false);
        button->setFixedWidth(32);
        zoom->addWidget(button);
        const double factor = text[0] == '+' ? 2.0 : text[0] == '-' ? 0.5 : 0.0;
        connect(button, &QPushButton::clicked, this, [this, factor] {
            Bars->SetVerticalScale(factor == 0.0 ? 1.0 : Bars->VerticalScale() * factor);
        });
    }
    zoom->addStretch(1);
    auto* refresh = new QPushButton("&Refresh", this);
    refresh->setObjectName("refresh");
    refresh->setAutoDefault(false);
    zoom->addWidget(refresh);
    connect(refresh, &QPushButton::clicked, this, &HistogramDialog::Refresh);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &HistogramDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &HistogramDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Bars, 1);
    layout->addLayout(zoom);
    layout->addLayout(readout);
    layout->addLayout(range);
    layout->addWidget(buttons);
    connect(Bars, &HistogramGraph::Hovered, this, &HistogramDialog::ShowBin);
    Bars->SetHistogram(&Result);
}

bool HistogramDialog::ReadFields(HistogramFields& fields) {
    for (auto [edit, target] : {std::pair{Lowest, &fields.Lowest}, {Highest, &fields.Highest}}) {
        // A range left as shown keeps every digit: the Surface's Max shortened to ten digits
        // could fall below the highest sample, which would then count as above the range.
        const double shown = edit == Lowest ? Ws.Histogram.Lowest : Ws.Histogram.Highest;
        if (edit->text() == Number(shown)) {
            *target = shown;
            continue;
        }
        bool ok = false;
        const double v = edit->text().trimmed().toDouble(&ok);
        if (!ok || !std::isfinite(v)) {
            QMessageBox::warning(this, "Histogram",
                                 QString("%1 \"%2\" is not a number")
                                     .arg(edit == Lowest ? "Lowest:" : "Highest:", edit->text()));
            edit->setFocus();
            return false;
        }
        *target = v;
    }
    fields.Bins = Bins->value();
    return true;
}

bool HistogramDialog::Refresh() {
    HistogramFields fields;
    if (!ReadFields(fields))
        return false;
    HistogramResult counted;
    counted.Lowest = fields.Lowest;
    counted.Highest = fields.Highest;
    // Cancelled: the graph keeps what it showed.
    if (ComputeHistogram(Ws.TheSurface, Ws.TheProgress, counted.Bins, fields.Bins, counted.Lowest,
                         counted.Highest, &counted.Below, &counted.Above) != 0)
        return false;
    Result = std::move(counted);
    Bars->SetHistogram(&Result);
    ShowSides();
    for (QLabel* l : {BinLow, BinHigh, SampleCount, Percentile})
        l->setText("-");
    return true;
}

void HistogramDialog::ShowSides() {
    Below->setText(QString::number(Result.Below));
    Above->setText(QString::number(Result.Above));
}

void HistogramDialog::ShowBin(int x) {
    const std::optional<BinReadout> bin = ReadoutAt(Result, x, Bars->width());
    if (!bin)
        return;
    BinLow->setText(QString::number(bin->Low, 'f', 2));
    BinHigh->setText(QString::number(bin->High, 'f', 2));
    SampleCount->setText(QString::number(bin->Count));
    Percentile->setText(QString::number(bin->Percentile, 'f', 2) + "%");
}

void HistogramDialog::accept() {
    HistogramFields fields;
    if (!ReadFields(fields))
        return;
    Ws.Histogram = fields;
    QDialog::accept();
}

bool RunHistogramDialog(Workspace& ws, QWidget* parent) {
    HistogramDialog dialog(ws, parent);
    dialog.Refresh();
    return dialog.exec() == QDialog::Accepted;
}

} // namespace korvel
