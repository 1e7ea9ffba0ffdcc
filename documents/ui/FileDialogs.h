#pragma once

#include <QString>
#include <QStringList>

class QFileDialog;

// The file-type lists of the Open and Save As dialogs. A list is kept as the user wrote it,
// "Name|*.a;*.b|Name|*.c|...", with a 1-based index of the chosen type.
namespace FileDialogs {

// The dialog's entries for such a list, one per name, in its order.
QStringList NameFilters(const QString &filter);
// Gives the dialog the list and selects the indexed type (an index out of range: the first).
void SetFilters(QFileDialog &dialog, const QString &filter, int index);
// The 1-based index of the type chosen in the dialog; 0 when none is.
int ChosenIndex(const QFileDialog &dialog, const QString &filter);

}  // namespace FileDialogs
