#pragma once
// "External Programs List" and "External Entry": the list of other programs, edited as a copy
// that OK puts in place and saves, so Cancel leaves the program-wide list as it was.

#include "commands/external_list.h"

#include <QDialog>

class QLineEdit;
class QTreeWidget;

namespace korvel {

class SettingsStore;

class ExternalEntryDialog : public QDialog {
    Q_OBJECT

public:
    ExternalEntryDialog(const ExternalEntry& entry, QWidget* parent);
    ExternalEntry Entry() const;

    QLineEdit* DescriptionField() const { return Description; }
    QLineEdit* CommandLineField() const { return CommandLine; }

private:
    void Browse();

    QLineEdit* Description;
    QLineEdit* CommandLine;
};

class ExternalProgramsDialog : public QDialog {
    Q_OBJECT

public:
    // store: where OK writes the list (the caller flushes it); nullptr writes nowhere.
    ExternalProgramsDialog(ExternalList& list, SettingsStore* store, QWidget* parent);

    QTreeWidget* Rows() const { return Table; }
    // The list as edited so far.
    const ExternalList& Edited() const { return Copy; }
    // Starts the selected entry; a failure is shown and the dialog stays open.
    void RunSelected();
    // Add (insert false) appends, Insert places the entry before the selected row.
    void AddEntry(bool insert);
    void EditSelected();
    void DeleteSelected();

    void accept() override;

private:
    // -1 when no row is selected.
    int SelectedRow() const;
    void Refill();

    ExternalList& Programs;
    ExternalList Copy;
    SettingsStore* Store;
    QTreeWidget* Table;
};

} // namespace korvel
