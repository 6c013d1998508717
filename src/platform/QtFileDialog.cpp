#include "platform/QtFileDialog.h"

#include "platform/Cp1252.h"
#include "platform/QtPaths.h"

#include <QApplication>
#include <QFileDialog>
#include <QStringList>

std::optional<std::string> QtFileDialog::open(const std::string& title,
                                              const std::string& directory,
                                              const std::vector<Filter>& filters) {
    QStringList nameFilters;
    for (const Filter& f : filters)
        nameFilters << fromCp1252(f.label + " (" + f.pattern + ")");
    QFileDialog dialog(QApplication::activeWindow(), fromCp1252(title), fromNativePath(directory));
    // Qt's own dialog reads the bracketed patterns the same way on every desktop.
    dialog.setOptions(QFileDialog::DontUseNativeDialog | QFileDialog::HideNameFilterDetails);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    // A name typed that does not exist is reported by the screen, not refused here.
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilters(nameFilters);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return toNativePath(dialog.selectedFiles().first());
}
