#include "ui/program_icon.h"

#include <QApplication>
#include <QDir>

namespace ui {

QIcon programIcon() {
    // Each size the build rendered is its own picture (the small ones from a simpler drawing), so that
    // no size is a blurred scaling of another; the icon takes each file at the size the file has.
    QIcon icon;
    const QDir icons(QStringLiteral(":/tiermark/icons"));
    for (const QString& name : icons.entryList({QStringLiteral("tiermark-*.png")}, QDir::Files)) {
        icon.addFile(icons.filePath(name));
    }
    return icon;
}

void useProgramIcon() {
    QApplication::setWindowIcon(programIcon());
}

}  // namespace ui
