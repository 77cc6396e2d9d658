#include "app/progress_window.h"

#include "core/progress.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace korvel {

ProgressWindow::ProgressWindow(const QString& operation, std::atomic<int32_t>& cancelFlag,
                               QWidget* parent)
    : QDialog(parent), CancelFlag(cancelFlag), OperationLabel(new QLabel(operation, this)),
      Bar(new QProgressBar(this)), Percent(new QLabel(" 0 %", this)) {
    setWindowTitle("Operation Progress");
    setWindowModality(Qt::WindowModal);
    Bar->setRange(0, 100);
    Bar->setValue(0);
    Bar->setTextVisible(false);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &ProgressWindow::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(OperationLabel);
    layout->addWidget(Bar);
    layout->addWidget(Percent);
    layout->addWidget(buttons);
    setMinimumWidth(360);
}

void ProgressWindow::SetPosition(int percent) {
    Bar->setValue(percent);
}

void ProgressWindow::SetPercentText(const QString& text) {
    if (Percent->text() != text)
        Percent->setText(text);
}

QString ProgressWindow::Operation() const {
    return OperationLabel->text();
}

void ProgressWindow::reject() {
    WasCancelled = true;
    CancelFlag.store(CancelKey, std::memory_order_relaxed);
}

} // namespace korvel
