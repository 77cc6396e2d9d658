#include "app/about_dialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QVBoxLayout>

namespace korvel {

const std::vector<UsedLibrary>& UsedLibraries() {
    static const std::vector<UsedLibrary> libraries = {
        {"Qt 6", "the editor's windows", "GNU LGPL version 3"},
        {"libpng (with zlib)", "8- and 16-bit grey PNG",
         "PNG Reference Library License version 2; zlib licence"},
        {"libtiff", "GeoTIFF rasters", "libtiff licence (BSD-style)"},
        {"libgeotiff", "GeoTIFF georeferencing keys", "MIT/X11-style licence"},
        {"OpenEXR (with Imath)", "32-bit and half-float EXR", "BSD 3-clause licence"},
    };
    return libraries;
}

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent) {
    setWindowTitle("About Korvel");
    auto* title = new QLabel("<b>Korvel " KORVEL_VERSION "</b><br>An editor for terrain height "
                             "fields.",
                             this);
    title->setObjectName("version");
    QString rows;
    for (const UsedLibrary& l : UsedLibraries())
        rows +=
            QString("<tr><td>%1</td><td>%2</td><td>%3</td></tr>").arg(l.Name, l.UsedFor, l.Licence);
    auto* licences = new QLabel(
        "Korvel is built with these libraries:<table cellspacing=\"6\">" + rows + "</table>", this);
    licences->setObjectName("licences");
    licences->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(title);
    layout->addWidget(licences);
    layout->addWidget(buttons);
}

} // namespace korvel
