#include "ImportExport.h"

#include "EditControl.h"
#include "EditHost.h"
#include "FileDialogs.h"
#include "Folders.h"
#include "Holder.h"
#include "MessageBox.h"
#include "RtfReader.h"
#include "RtfWriter.h"
#include "TextConverters.h"

#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QSaveFile>
#include <QStatusBar>
#include <QTextDocument>

namespace {

using TDirection = TTextConverters::TDirection;

THolder *holder(const ImportExport::TContext &c, const char *name) {
  return c.holders->findChild<THolder *>(QLatin1String(name));
}

// The boxes of the converter commands: a plain one with OK, and the error box for a converter
// that failed.
void wire(TTextConverters &converters, const ImportExport::TContext &c) {
  converters.ShowMessage = [parent = c.parent](const QString &text) {
    QMessageBox box(QMessageBox::NoIcon, MessageBox::ApplicationTitle(), text, QMessageBox::Ok, parent);
    box.setObjectName(QLatin1String(MessageBox::ObjectName));
    box.exec();
  };
  converters.ShowError = [parent = c.parent](const QString &text) {
    MessageBox::Show(parent, text, TMsgKind::Error, TMsgButtons::Ok);
  };
  converters.OnProgress = [status = c.status](qsizetype bytes) {
    if (status) status->showMessage(status->currentMessage().section(QStringLiteral(" ("), 0, 0) +
                                    QStringLiteral(" (%1 KB)").arg(bytes / 1024));
  };
}

// Shows the dialog of one direction; the chosen file and 1-based filter index, or an empty
// name when the user cancelled.
QString choose(const ImportExport::TContext &c, TDirection direction, const QString &filter, int *index) {
  const bool import = direction == TDirection::Import;
  THolder *path = holder(c, import ? "ImportPath" : "ExportPath");
  THolder *filterIndex = holder(c, import ? "lblIFilter" : "lblEFilter");
  QFileDialog dialog(c.parent, import ? QStringLiteral("Import") : QStringLiteral("Export..."),
                     path->Caption().isEmpty() ? Folders::Home() : path->Caption());
  dialog.setObjectName(import ? QStringLiteral("dlgIOpen") : QStringLiteral("dlgESave"));
  dialog.setAcceptMode(import ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
  dialog.setFileMode(import ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
  if (!import) dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
  FileDialogs::SetFilters(dialog, filter, filterIndex->Caption().toInt());
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  *index = qMax(1, FileDialogs::ChosenIndex(dialog, filter));
  const QString file = dialog.selectedFiles().first();
  path->SetCaption(Folders::FolderOf(QFileInfo(file).absoluteFilePath()));
  filterIndex->SetCaption(QString::number(*index));
  return file;
}

// Reads an .rtf file straight into the workspace; false with the reason shown when it is not
// rich text.
bool importRichText(const ImportExport::TContext &c, const QString &file) {
  QFile in(file);
  if (!in.open(QIODevice::ReadOnly)) {
    MessageBox::ShowError(c.parent, QStringLiteral("Cannot open file %1").arg(file));
    return false;
  }
  QTextDocument document;
  TRtfReader reader;
  if (!reader.Read(in.readAll(), document)) {
    MessageBox::ShowError(c.parent, reader.Error());
    return false;
  }
  QString text = document.toRawText();
  text.replace(QChar::ParagraphSeparator, u'\n');
  c.edit->SetText(text);
  return true;
}

// Writes the workspace's text as rich text through the program's own writer, replacing the
// file only once it is complete.
bool exportRichText(const ImportExport::TContext &c, const QString &file) {
  QTextDocument document;
  document.setPlainText(c.edit->Text());
  QSaveFile out(file);
  if (!out.open(QIODevice::WriteOnly) || out.write(TRtfWriter::Write(document)) < 0 || !out.commit()) {
    MessageBox::ShowError(c.parent, QStringLiteral("Cannot create file ") + file);
    return false;
  }
  return true;
}

// One command of either direction: the dialog, the status texts, then the conversion with
// the wait cursor.
void run(const ImportExport::TContext &c, TDirection direction) {
  const bool import = direction == TDirection::Import;
  const TTopMostPause pause(*c.host);
  TTextConverters converters;
  wire(converters, c);
  int index = 1;
  const QString file = choose(c, direction, converters.BuildConverterFilter(direction), &index);
  if (file.isEmpty() || !c.edit) return;
  const QString name = converters.ConverterNames(direction).value(index - 1);
  const QString doing = import ? QString(QStringLiteral("Importing ") + file)
                               : QString(QStringLiteral("Exporting ") + file + QStringLiteral(" as ") + name);
  c.status->showMessage(doing + QStringLiteral("..."));
  const bool rich = name == TTextConverters::RichText();
  QApplication::setOverrideCursor(Qt::WaitCursor);
  const bool done = import ? (rich ? importRichText(c, file) : converters.ImportFile(file, name, *c.edit))
                           : (rich ? exportRichText(c, file) : converters.ExportFile(file, name, *c.edit));
  QApplication::restoreOverrideCursor();
  if (done) c.status->showMessage(file + QStringLiteral(" successfully ") +
                                  (import ? QStringLiteral("imported.") : QStringLiteral("exported.")));
}

}  // namespace

namespace ImportExport {

void ImportDocument(const TContext &c) { run(c, TDirection::Import); }

void ExportDocument(const TContext &c) { run(c, TDirection::Export); }

}  // namespace ImportExport
