#pragma once
// "About Korvel": the version and the licences of the libraries the program is built with.

#include <QDialog>

#include <vector>

namespace korvel {

struct UsedLibrary {
    const char* Name;
    const char* UsedFor;
    const char* Licence;
};

// The libraries the editor links, with what each does for it and its licence.
const std::vector<UsedLibrary>& UsedLibraries();

class AboutDialog : public QDialog {
    Q_OBJECT

public:
    explicit AboutDialog(QWidget* parent);
};

} // namespace korvel
