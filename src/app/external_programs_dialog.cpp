#include "app/external_programs_dialog.h"

#include "app/external_programs.h"
#include "commands/command_line_words.h"
#include "core/settings_store.h"

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <functional>

namespace korvel {

ExternalEntryDialog::ExternalEntryDialog(const ExternalEntry& entry, QWidget* parent)
    : QDialog(parent), Description(new QLineEdit(QString::fromStdString(entry.Description))),
      CommandLine(new QLineEdit(QString::fromStdString(entry.CommandLine))) {
    setWindowTitle("External Entry");
    auto* browse = new QPushButton("...");
    connect(browse, &QPushButton::clicked, this, &ExternalEntryDialog::Browse);
    auto* commandRow = new QHBoxLayout;
    commandRow->addWidget(CommandLine, 1);
    commandRow->addWidget(browse);
    auto* form = new QFormLayout;
    form->addRow("Description:", Description);
    form->addRow("Command Line:", commandRow);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
    CommandLine->setMinimumWidth(320);
}

ExternalEntry ExternalEntryDialog::Entry() const {
    return {Description->text().toStdString(), CommandLine->text().toStdString()};
}

void ExternalEntryDialog::Browse() {
    const QString path =
        QFileDialog::getOpenFileName(this, "External Program", CommandLine->text(), "Programs (*)");
    // Quoted, so that a folder with a blank in its name stays one word.
    if (!path.isEmpty())
        CommandLine->setText(QString::fromStdString(QuoteCommandWord(path.toStdString())));
}

ExternalProgramsDialog::ExternalProgramsDialog(ExternalList& list, SettingsStore* store,
                                               QWidget* parent)
    : QDialog(parent), Programs(list), Copy(list), Store(store), Table(new QTreeWidget) {
    setWindowTitle("External Programs List");
    Table->setColumnCount(2);
    Table->setHeaderLabels({"Description", "Command Line"});
    Table->setColumnWidth(0, 100);
    Table->setColumnWidth(1, 200);
    Table->setRootIsDecorated(false);
    Table->setSelectionMode(QAbstractItemView::SingleSelection);
    connect(Table, &QTreeWidget::itemDoubleClicked, this, [this] { RunSelected(); });

    auto* side = new QVBoxLayout;
    const std::pair<const char*, std::function<void()>> actions[] = {
        {"&Run", [this] { RunSelected(); }},         {"&Add...", [this] { AddEntry(false); }},
        {"&Insert...", [this] { AddEntry(true); }},  {"&Edit...", [this] { EditSelected(); }},
        {"Delete...", [this] { DeleteSelected(); }},
    };
    for (const auto& [text, act] : actions) {
        auto* button = new QPushButton(text);
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, this, act);
        side->addWidget(button);
    }
    side->addStretch();
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->setOrientation(Qt::Vertical);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    side->addWidget(buttons);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(Table, 1);
    layout->addLayout(side);
    resize(520, 300);
    Refill();
}

int ExternalProgramsDialog::SelectedRow() const {
    const QList<QTreeWidgetItem*> chosen = Table->selectedItems();
    return chosen.isEmpty() ? -1 : Table->indexOfTopLevelItem(chosen.first());
}

void ExternalProgramsDialog::Refill() {
    Table->clear();
    for (size_t i = 0; i < Copy.Size(); ++i) {
        const ExternalEntry* e = Copy.At(i);
        Table->addTopLevelItem(new QTreeWidgetItem(
            {QString::fromStdString(e->Description), QString::fromStdString(e->CommandLine)}));
    }
}

void ExternalProgramsDialog::RunSelected() {
    const int row = SelectedRow();
    if (row < 0)
        return;
    const QString failure = StartExternal(*Copy.At(static_cast<size_t>(row)));
    if (!failure.isEmpty())
        QMessageBox::warning(this, "External Programs List", failure);
}

void ExternalProgramsDialog::AddEntry(bool insert) {
    ExternalEntryDialog dialog(ExternalEntry{}, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const int row = SelectedRow();
    if (insert && row >= 0)
        Copy.Insert(static_cast<size_t>(row), dialog.Entry());
    else
        Copy.Append(dialog.Entry());
    Refill();
}

void ExternalProgramsDialog::EditSelected() {
    const int row = SelectedRow();
    if (row < 0)
        return;
    ExternalEntry* entry = Copy.At(static_cast<size_t>(row));
    ExternalEntryDialog dialog(*entry, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    *entry = dialog.Entry();
    Refill();
    Table->setCurrentItem(Table->topLevelItem(row));
}

void ExternalProgramsDialog::DeleteSelected() {
    const int row = SelectedRow();
    if (row >= 0 && Copy.Remove(static_cast<size_t>(row)))
        Refill();
}

void ExternalProgramsDialog::accept() {
    Programs = Copy;
    if (Store)
        Programs.Save(*Store, ExternalListSection);
    QDialog::accept();
}

} // namespace korvel
