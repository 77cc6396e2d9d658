#include "app/status_window.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace korvel {

StatusWindow::StatusWindow(const QString& title, QWidget* parent)
    : QDialog(parent), Lines(new QLabel(this)) {
    setWindowTitle(title);
    setModal(false);
    auto* stop = new QPushButton("&Stop", this);
    stop->setObjectName("Stop");
    connect(stop, &QPushButton::clicked, this, &StatusWindow::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Lines);
    layout->addWidget(stop);
    setMinimumWidth(240);
}

void StatusWindow::SetLines(const std::vector<std::string>& lines) {
    QString text;
    for (const std::string& line : lines)
        text += (text.isEmpty() ? "" : "\n") + QString::fromStdString(line);
    Lines->setText(text);
}

QString StatusWindow::Text() const {
    return Lines->text();
}

void StatusWindow::reject() {
    WasStopped = true;
}

} // namespace korvel
