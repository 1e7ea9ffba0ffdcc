// SPDX-License-Identifier: GPL-3.0-or-later
#include <QLabel>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QStatusBar>

#include "ConverterFixture.h"
#include "ModalAnswerer.h"
#include "TestEditHost.h"
#include "convert/core/TextConverters.h"
#include "convert/ui/ConversionProgress.h"
#include "convert/ui/ImportExport.h"
#include "documents/ui/RichEdit.h"
#include "documents/ui/fmEdit.h"
#include "settings/ui/Holder.h"

namespace {

// File|Import and File|Export through their dialogs, as the main window runs them: real
// document windows in a multiple-document frame.
class ImportExportCommands : public ConverterFixture {
 protected:
  void SetUp() override {
    ConverterFixture::SetUp();
    for (const char *name : {"ImportPath", "lblIFilter", "ExportPath", "lblEFilter"}) {
      auto *holder = new THolder(QString::fromLatin1(name), &frame);
      holder->SetCaption(QString::fromLatin1(name).startsWith(QLatin1String("lbl"))
                             ? QStringLiteral("1")
                             : dir + u'/');
    }
    frame.setStatusBar(new QStatusBar);
    frame.setCentralWidget(area = new QMdiArea);
    frame.resize(800, 600);
    frame.show();
    window = NewWorkspace();
  }

  TfrmEdit *NewWorkspace() {
    auto *edit = new TfrmEdit(host);
    area->addSubWindow(edit)->show();
    return edit;
  }
  ImportExport::TContext Context() {
    return {&frame, &frame, frame.statusBar(), &host, window, [this] { return NewWorkspace(); }};
  }
  QString Holder(const char *name) {
    return frame.findChild<THolder *>(QLatin1String(name))->Caption();
  }
  void SetFilter(const char *holder, const QString &name, TTextConverters::TDirection direction) {
    const int index = int(TTextConverters().ConverterNames(direction).indexOf(name)) + 1;
    ASSERT_GT(index, 0) << name.toStdString();
    frame.findChild<THolder *>(QLatin1String(holder))->SetCaption(QString::number(index));
  }
  QList<TfrmEdit *> Windows() const { return frame.findChildren<TfrmEdit *>(); }

  TTestEditHost host;
  QMainWindow frame;
  QMdiArea *area = nullptr;
  QPointer<TfrmEdit> window;
};

TEST_F(ImportExportCommands, ImportFillsAnEmptyWorkspaceAsOneUndoableChangeAndKeepsFolderAndType) {
  const QString file =
      MakeWithPandoc(QStringLiteral("notes.docx"), "Imported through the dialog.\n");
  SetFilter("lblIFilter", QStringLiteral("Word (docx)"), TTextConverters::TDirection::Import);
  const QString docx = Holder("lblIFilter");
  TModalAnswerer answerer({QStringLiteral("file:") + file});
  ImportExport::ImportDocument(Context());
  EXPECT_EQ(answerer.titles, QStringList{QStringLiteral("Import")});
  ASSERT_EQ(Windows().size(), 1) << "the empty workspace is the one filled";
  TRichEdit *memo = window->mmoMemo();
  EXPECT_EQ(memo->toPlainText(), QStringLiteral("Imported through the dialog."));
  EXPECT_TRUE(memo->Modified()) << "an imported document is not saved yet";
  EXPECT_FALSE(memo->isReadOnly());
  EXPECT_EQ(TConversionProgress::Of(window), nullptr) << "the progress bar is gone";
  EXPECT_EQ(frame.statusBar()->currentMessage(), file + QStringLiteral(" successfully imported."));
  EXPECT_EQ(Holder("ImportPath"), dir + u'/');
  EXPECT_EQ(Holder("lblIFilter"), docx);
  EXPECT_EQ(host.topMostPauses, 1);
  ASSERT_TRUE(memo->CanUndo());
  memo->Undo();
  EXPECT_EQ(memo->toPlainText(), QString());
}

TEST_F(ImportExportCommands, ImportNeverReplacesTypedTextItOpensANewWorkspace) {
  const QString file =
      TestEnvironment::WriteFile(dir + QStringLiteral("/notes.html"),
                                 "<!DOCTYPE html><html><head><title>Page "
                                 "title</title></head><body><p>From the page.</p></body></html>\n");
  window->mmoMemo()->ReplaceSelection(QStringLiteral("typed and not saved"));
  TModalAnswerer answerer({QStringLiteral("file:") + file});
  ImportExport::ImportDocument(Context());  // under the first type, Rich Text Format
  ASSERT_EQ(Windows().size(), 2);
  EXPECT_EQ(window->mmoMemo()->toPlainText(), QStringLiteral("typed and not saved"));
  TfrmEdit *other = Windows().first() == window ? Windows().last() : Windows().first();
  EXPECT_EQ(other->mmoMemo()->toPlainText(), QStringLiteral("From the page."))
      << "the type came from the name; no title line";
  EXPECT_TRUE(other->mmoMemo()->Modified());
}

TEST_F(ImportExportCommands, AFileThatIsNotRichTextSaysSoWithOneFullStopAndLeavesNoWorkspace) {
  window->mmoMemo()->ReplaceSelection(QStringLiteral("typed"));
  const QString file =
      TestEnvironment::WriteFile(dir + QStringLiteral("/plain.txt"), "not rich text\n");
  TModalAnswerer answerer({QStringLiteral("file:") + file, QStringLiteral("OK")});
  ImportExport::ImportDocument(Context());
  ASSERT_EQ(answerer.texts.size(), 2);
  EXPECT_EQ(answerer.texts.last(), QStringLiteral("The file is not a rich text document."));
  EXPECT_TRUE(WaitFor([this] { return Windows().size() == 1; }))
      << "the workspace opened for the import is closed again";
  EXPECT_EQ(window->mmoMemo()->toPlainText(), QStringLiteral("typed"));
}

TEST_F(ImportExportCommands, ClosingTheWorkspaceDuringAnImportEndsTheConverterWithoutACrash) {
  RegisterMachineWide(Registration("Import", "Slow", "Slow Writer", "slw", HangingConverter()));
  const QString input = TestEnvironment::WriteFile(dir + QStringLiteral("/in.slw"), "x");
  SetFilter("lblIFilter", QStringLiteral("Slow Writer"), TTextConverters::TDirection::Import);
  TModalAnswerer answerer({QStringLiteral("file:") + input});
  QTimer poll;
  qint64 child = 0;
  bool sawProgress = false;
  QObject::connect(&poll, &QTimer::timeout, [&] {
    if (!window || (child = ChildPid()) <= 0) return;
    sawProgress = TConversionProgress::Of(window) && window->mmoMemo()->isReadOnly();
    qobject_cast<QMdiSubWindow *>(window->parentWidget())->close();
  });
  poll.start(10);
  ImportExport::ImportDocument(Context());
  poll.stop();
  EXPECT_TRUE(sawProgress) << "the window showed the conversion and took no typing";
  ASSERT_GT(child, 0);
  EXPECT_TRUE(WaitFor([this] { return window.isNull(); }));
  EXPECT_TRUE(Ended(child)) << "the converter's child ended with the workspace";
  EXPECT_EQ(answerer.titles, QStringList{QStringLiteral("Import")})
      << "no error box after the close";
}

TEST_F(ImportExportCommands, CancelInTheDocumentWindowEndsTheImportAndKeepsTheWorkspace) {
  RegisterMachineWide(Registration("Import", "Slow", "Slow Writer", "slw", HangingConverter()));
  const QString input = TestEnvironment::WriteFile(dir + QStringLiteral("/in.slw"), "x");
  window->mmoMemo()->ReplaceSelection(QStringLiteral("kept"));
  SetFilter("lblIFilter", QStringLiteral("Slow Writer"), TTextConverters::TDirection::Import);
  TModalAnswerer answerer({QStringLiteral("file:") + input});
  QTimer poll;
  qint64 child = 0;
  QString shown;
  QObject::connect(&poll, &QTimer::timeout, [&] {
    if ((child = ChildPid()) <= 0) return;
    for (TfrmEdit *w : Windows())
      if (TConversionProgress *bar = TConversionProgress::Of(w)) {
        shown = bar->findChild<QLabel *>()->text();
        bar->findChild<QPushButton *>(QStringLiteral("btnCancelConversion"))->click();
        poll.stop();
      }
  });
  poll.start(10);
  ImportExport::ImportDocument(Context());
  EXPECT_EQ(shown, QStringLiteral("Importing in.slw..."))
      << "the file's name; its folder is in the status bar";
  EXPECT_TRUE(Ended(child));
  EXPECT_EQ(frame.statusBar()->currentMessage(),
            QStringLiteral("Import of %1 cancelled.").arg(input));
  ASSERT_TRUE(WaitFor([this] { return Windows().size() == 1; }))
      << "the new workspace of a cancelled import is closed";
  EXPECT_EQ(window->mmoMemo()->toPlainText(), QStringLiteral("kept"));
  EXPECT_EQ(answerer.titles, QStringList{QStringLiteral("Import")});
}

TEST_F(ImportExportCommands, ExportAddsTheExtensionOrAsksWhenTheNameBelongsToAnotherType) {
  const QString typed =
      QStringLiteral("Exported\ttext with\u00a0no-break space  \n  indented – line");
  window->mmoMemo()->ReplaceSelection(typed);
  window->mmoMemo()->SetSelection(2, 3);
  SetFilter("lblEFilter", QStringLiteral("Word (docx)"), TTextConverters::TDirection::Export);
  {
    TModalAnswerer answerer({QStringLiteral("file:") + dir + QStringLiteral("/letter")});
    ImportExport::ExportDocument(Context());
  }
  QString back;
  ASSERT_TRUE(TTextConverters().ImportFile(dir + QStringLiteral("/letter.docx"),
                                           QStringLiteral("Word (docx)"), back));
  EXPECT_EQ(back, typed) << "the workspace's every character went out";
  EXPECT_FALSE(QFile::exists(dir + QStringLiteral("/letter")));
  EXPECT_EQ(frame.statusBar()->currentMessage(),
            dir + QStringLiteral("/letter.docx successfully exported."));
  EXPECT_EQ(window->mmoMemo()->SelStart(), 2);
  EXPECT_EQ(window->mmoMemo()->SelLength(), 3);
  {
    TModalAnswerer answerer(
        {QStringLiteral("file:") + dir + QStringLiteral("/page.html"), QStringLiteral("&Yes")});
    ImportExport::ExportDocument(Context());
    ASSERT_EQ(answerer.texts.size(), 2);
    EXPECT_TRUE(answerer.texts.last().contains(
        QStringLiteral("page.html has the extension of HTML, but Word (docx)")))
        << answerer.texts.last().toStdString();
  }
  EXPECT_TRUE(TestEnvironment::ReadFile(dir + QStringLiteral("/page.html")).contains("<pre"))
      << "written as HTML";
  {
    TModalAnswerer answerer(
        {QStringLiteral("file:") + dir + QStringLiteral("/kept.rtf"), QStringLiteral("Cancel")});
    ImportExport::ExportDocument(Context());
  }
  EXPECT_FALSE(QFile::exists(dir + QStringLiteral("/kept.rtf"))) << "cancelled: nothing written";
}

TEST_F(ImportExportCommands, RichTextGoesBothWaysAndACancelledDialogChangesNothing) {
  window->mmoMemo()->ReplaceSelection(QStringLiteral("Rich text\n\tround trip é  "));
  const QString rtf = dir + QStringLiteral("/saved.rtf");
  {
    TModalAnswerer answerer({QStringLiteral("file:") + rtf});
    ImportExport::ExportDocument(Context());
    EXPECT_EQ(answerer.titles, QStringList{QStringLiteral("Export...")});
  }
  EXPECT_TRUE(TestEnvironment::ReadFile(rtf).startsWith("{\\rtf1"));
  {
    TModalAnswerer answerer({QStringLiteral("file:") + rtf});
    ImportExport::ImportDocument(Context());
  }
  ASSERT_EQ(Windows().size(), 2);
  TfrmEdit *other = Windows().first() == window ? Windows().last() : Windows().first();
  EXPECT_EQ(other->mmoMemo()->toPlainText(), QStringLiteral("Rich text\n\tround trip é  "));

  frame.findChild<THolder *>(QStringLiteral("ImportPath"))
      ->SetCaption(QStringLiteral("/somewhere/"));
  TModalAnswerer cancel({QString()});
  ImportExport::ImportDocument(Context());
  EXPECT_EQ(Holder("ImportPath"), QStringLiteral("/somewhere/"));
  EXPECT_EQ(Holder("lblIFilter"), QStringLiteral("1"));
  EXPECT_EQ(Windows().size(), 2);
}

}  // namespace
