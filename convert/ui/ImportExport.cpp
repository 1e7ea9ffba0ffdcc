// SPDX-License-Identifier: GPL-3.0-or-later
#include "convert/ui/ImportExport.h"

#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMdiSubWindow>
#include <QMessageBox>
#include <QPointer>
#include <QSaveFile>
#include <QStatusBar>
#include <QTextDocument>

#include "convert/core/TextConverters.h"
#include "convert/ui/ConversionProgress.h"
#include "documents/core/RtfReader.h"
#include "documents/core/RtfWriter.h"
#include "documents/ui/EditHost.h"
#include "documents/ui/FileDialogs.h"
#include "documents/ui/RichEdit.h"
#include "documents/ui/fmEdit.h"
#include "platform/core/Folders.h"
#include "platform/ui/MessageBox.h"
#include "settings/ui/Holder.h"

namespace {

using TDirection = TTextConverters::TDirection;

THolder *holder(const ImportExport::TContext &c, const char *name) {
  return c.holders->findChild<THolder *>(QLatin1String(name));
}

// The error box adds the closing full stop itself.
QString withoutFullStop(QString text) {
  while (text.endsWith(u'.')) text.chop(1);
  return text;
}

// The boxes of the converter commands: a plain one with OK, and the error box for a converter
// that failed. The main window may be gone by the time a conversion ends.
void wire(TTextConverters &converters, const ImportExport::TContext &c) {
  converters.ShowMessage = [parent = QPointer<QWidget>(c.parent)](const QString &text) {
    QMessageBox box(QMessageBox::NoIcon, MessageBox::ApplicationTitle(), text, QMessageBox::Ok,
                    parent);
    box.setObjectName(QLatin1String(MessageBox::ObjectName));
    box.exec();
  };
  converters.ShowError = [parent = QPointer<QWidget>(c.parent)](const QString &text) {
    MessageBox::Show(parent, withoutFullStop(text), TMsgKind::Error, TMsgButtons::Ok);
  };
}

// Shows the dialog of one direction; the chosen file and 1-based filter index, or an empty
// name when the user cancelled.
QString choose(const ImportExport::TContext &c, TDirection direction, const QString &filter,
               int *index) {
  const bool import = direction == TDirection::Import;
  THolder *path = holder(c, import ? "ImportPath" : "ExportPath");
  THolder *filterIndex = holder(c, import ? "lblIFilter" : "lblEFilter");
  QFileDialog dialog(c.parent, import ? QStringLiteral("Import") : QStringLiteral("Export..."),
                     path->Caption().isEmpty() ? Folders::Home() : path->Caption());
  dialog.setObjectName(import ? QStringLiteral("dlgIOpen") : QStringLiteral("dlgESave"));
  dialog.setProperty("HelpTopic",
                     import ? QStringLiteral("ImportDialog") : QStringLiteral("ExportDialog"));
  dialog.setAcceptMode(import ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
  dialog.setFileMode(import ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
  if (!import) dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
  FileDialogs::SetFilters(dialog, filter, filterIndex->Caption().toInt());
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  *index = qMax(1, FileDialogs::ChosenIndex(dialog, filter));
  QString file = dialog.selectedFiles().first();
  path->SetCaption(Folders::FolderOf(QFileInfo(file).absoluteFilePath()));
  filterIndex->SetCaption(QString::number(*index));
  return file;
}

// The converter for a file to import: the chosen type when the file's name fits it, else the
// type its extension names, else the one that recognises its content, else the chosen one.
QString importName(TTextConverters &converters, const QString &file, const QString &chosen) {
  QString byName = converters.NameForFileName(file, TDirection::Import);
  if (byName == chosen) return chosen;
  if (!byName.isEmpty()) return byName;
  const QString byContent = converters.NameForContent(file);
  return byContent.isEmpty() ? chosen : byContent;
}

// The target of an export and its type: a name without an extension gets the type's; a name
// whose extension belongs to another type asks which to write. False when the user cancels.
bool exportTarget(const ImportExport::TContext &c, TTextConverters &converters, QString *file,
                  QString *name) {
  const QString pattern = converters.PatternOf(*name, TDirection::Export);
  if (QFileInfo(*file).suffix().isEmpty()) {
    const QString extension = pattern.section(u';', 0, 0).mid(1);  // ".docx"
    if (extension.size() > 1 && !file->endsWith(u'/')) *file += extension;
    return true;
  }
  const QString other = converters.NameForFileName(*file, TDirection::Export);
  if (other.isEmpty() || other == *name) return true;
  const TMsgResult answer = MessageBox::Show(
      c.parent,
      QStringLiteral("The name %1 has the extension of %2, but %3 was chosen as the type.\n\n"
                     "Export as %2? (No exports as %3 under this name.)")
          .arg(QFileInfo(*file).fileName(), other, *name),
      TMsgKind::Confirmation, TMsgButtons::YesNoCancel);
  if (answer == TMsgResult::Cancel) return false;
  if (answer == TMsgResult::Yes) *name = other;
  return true;
}

// Reads an .rtf file's text; false with the reason shown when it is not rich text.
bool readRichText(const ImportExport::TContext &c, const QString &file, QString *text) {
  QFile in(file);
  if (!in.open(QIODevice::ReadOnly)) {
    MessageBox::ShowError(c.parent, QStringLiteral("Cannot open file %1").arg(file));
    return false;
  }
  QTextDocument document;
  TRtfReader reader;
  if (!reader.Read(in.readAll(), document)) {
    MessageBox::ShowError(c.parent, withoutFullStop(reader.Error()));
    return false;
  }
  *text = document.toRawText();
  text->replace(QChar::ParagraphSeparator, u'\n').replace(QChar::LineSeparator, u'\n');
  return true;
}

// Writes the text as rich text through the program's own writer, replacing the file only
// once it is complete.
bool writeRichText(const ImportExport::TContext &c, const QString &file, const QString &text) {
  QTextDocument document;
  document.setPlainText(text);
  QSaveFile out(file);
  if (!out.open(QIODevice::WriteOnly) || out.write(TRtfWriter::Write(document)) < 0 ||
      !out.commit()) {
    MessageBox::ShowError(c.parent, QStringLiteral("Cannot create file ") + file);
    return false;
  }
  return true;
}

// Runs one conversion for a document window, with its progress bar and Cancel shown there
// and its text read-only meanwhile. Closing the window ends the conversion.
bool convertFor(const QPointer<TfrmEdit> &window, TTextConverters &converters, const QString &doing,
                const QString &tip, const std::function<bool()> &conversion) {
  if (!window) return false;
  QPointer<TConversionProgress> bar = new TConversionProgress(window, doing);
  bar->setToolTip(tip);
  bar->OnCancel = [&converters] { converters.Cancel(); };
  converters.OnProgress = [bar](qsizetype bytes) {
    if (bar) bar->SetBytes(bytes);
  };
  TRichEdit *memo = window->mmoMemo();
  const bool wasReadOnly = memo->isReadOnly();
  memo->setReadOnly(true);
  const QObject guard;  // ends the connection below with this call
  QObject::connect(window, &QObject::destroyed, &guard, [&converters] { converters.Cancel(); });
  const bool done = conversion();
  converters.OnProgress = nullptr;
  delete bar;
  if (window) window->mmoMemo()->setReadOnly(wasReadOnly);
  return done;
}

// A workspace an import may fill: empty, unchanged and not converting already.
bool isBlank(TfrmEdit *window) {
  return window && window->mmoMemo()->TextLength() == 0 && !window->mmoMemo()->Modified() &&
         !TConversionProgress::Of(window);
}

void closeWorkspace(TfrmEdit *window) {
  if (auto *frame = qobject_cast<QMdiSubWindow *>(window->parentWidget()))
    frame->close();
  else
    window->close();
}

// The imported text replaces the (empty) workspace's as one undo step, and the document counts
// as changed until it is saved.
void putText(TRichEdit &memo, const QString &text) {
  memo.BeginEditBlock();
  memo.SelectAll();
  memo.ReplaceSelection(text);
  memo.EndEditBlock();
  memo.SetSelection(0, 0);
  memo.SetModified(true);
}

void importDocument(const ImportExport::TContext &c) {
  const TTopMostPause pause(*c.host);
  TTextConverters converters;
  wire(converters, c);
  int index = 1;
  const QString file =
      choose(c, TDirection::Import, converters.BuildConverterFilter(TDirection::Import), &index);
  if (file.isEmpty()) return;
  const QString name =
      importName(converters, file, converters.ConverterNames(TDirection::Import).value(index - 1));
  QPointer<QStatusBar> status = c.status;
  QPointer<TfrmEdit> target = c.window;
  const bool created = !isBlank(target);
  if (created) target = c.newWorkspace ? c.newWorkspace() : nullptr;
  if (!target) return;
  const QString doing = QStringLiteral("Importing ") + file + QStringLiteral("...");
  if (status) status->showMessage(doing);
  QString text;
  const bool done =
      name == TTextConverters::RichText()
          ? readRichText(c, file, &text)
          : convertFor(target, converters,
                       QStringLiteral("Importing %1...").arg(QFileInfo(file).fileName()), doing,
                       [&] { return converters.ImportFile(file, name, text); });
  if (!target) return;  // closed meanwhile: its conversion ended with it
  if (!done) {
    if (created && isBlank(target)) closeWorkspace(target);
    if (converters.Cancelled() && status)
      status->showMessage(QStringLiteral("Import of %1 cancelled.").arg(file));
    return;
  }
  putText(*target->mmoMemo(), text);
  if (status) status->showMessage(file + QStringLiteral(" successfully imported."));
}

void exportDocument(const ImportExport::TContext &c) {
  const TTopMostPause pause(*c.host);
  TTextConverters converters;
  wire(converters, c);
  int index = 1;
  QString file =
      choose(c, TDirection::Export, converters.BuildConverterFilter(TDirection::Export), &index);
  QPointer<TfrmEdit> window = c.window;
  if (file.isEmpty() || !window) return;
  QString name = converters.ConverterNames(TDirection::Export).value(index - 1);
  if (!exportTarget(c, converters, &file, &name) || !window) return;
  // The whole plain text, with the caret and selection put back as they were.
  TRichEdit *memo = window->mmoMemo();
  const qsizetype start = memo->SelStart();
  const qsizetype length = memo->SelLength();
  memo->SelectAll();
  const QString text = memo->SelText();
  memo->SetSelection(start, length);
  QPointer<QStatusBar> status = c.status;
  const QString doing =
      QStringLiteral("Exporting ") + file + QStringLiteral(" as ") + name + QStringLiteral("...");
  if (status) status->showMessage(doing);
  const bool done =
      name == TTextConverters::RichText()
          ? writeRichText(c, file, text)
          : convertFor(
                window, converters,
                QStringLiteral("Exporting %1 as %2...").arg(QFileInfo(file).fileName(), name),
                doing, [&] { return converters.ExportFile(file, name, text); });
  if (!status) return;
  if (done)
    status->showMessage(file + QStringLiteral(" successfully exported."));
  else if (converters.Cancelled())
    status->showMessage(QStringLiteral("Export to %1 cancelled.").arg(file));
}

}  // namespace

namespace ImportExport {

void ImportDocument(const TContext &context) { importDocument(context); }

void ExportDocument(const TContext &context) { exportDocument(context); }

}  // namespace ImportExport
