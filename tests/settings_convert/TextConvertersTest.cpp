#include "ConverterFixture.h"
#include "EditHost.h"
#include "Holder.h"
#include "ImportExport.h"
#include "MemoryEdit.h"
#include "ModalAnswerer.h"
#include "RichEdit.h"
#include "TextConverters.h"

#include <QMainWindow>
#include <QStatusBar>

namespace {

using TDirection = TTextConverters::TDirection;

// A converter hive of the test's own, next to the shipped registrations.
TMachineHive HiveWith(const QByteArray &extra) {
  TMachineHive hive = TMachineHive::Load();
  const QByteArray file = QByteArray("Windows Registry Editor Version 5.00\n\n") + extra;
  hive.Merge(file, QStringLiteral("test"));
  return hive;
}

class Converters : public ConverterFixture {
 protected:
  void SetUp() override {
    ConverterFixture::SetUp();
    converters.ShowMessage = [this](const QString &text) { messages << text; };
    converters.ShowError = [this](const QString &text) { errors << text; };
  }
  TTextConverters converters;
  QStringList messages;
  QStringList errors;
};

TEST_F(Converters, TheShippedListStartsWithRichTextAndOffersWhatTheToolsRead) {
  const QStringList names = converters.ConverterNames(TDirection::Import);
  ASSERT_FALSE(names.isEmpty());
  EXPECT_EQ(names.first(), QStringLiteral("Rich Text Format"));
  for (const char *name : {"Word (docx)", "OpenDocument Text", "HTML", "Word 97-2003"})
    EXPECT_TRUE(names.contains(QLatin1String(name))) << name;
  const QString filter = converters.BuildConverterFilter(TDirection::Import);
  EXPECT_TRUE(filter.startsWith(QLatin1String("Rich Text Format|*.rtf|Word (docx)|*.docx|")));
  EXPECT_TRUE(filter.contains(QLatin1String("Word 97-2003|*.doc;*.dot"))) << "extensions doc dot";
  EXPECT_EQ(filter.split(u'|').size(), 2 * names.size());
  EXPECT_TRUE(converters.ConverterNames(TDirection::Export).contains(QStringLiteral("Word (docx)")));
}

TEST_F(Converters, RegistrationsOfItsOwnKeepTheirOrderAndAToolThatIsMissingIsPassedOver) {
  TTextConverters own(HiveWith(
      "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Shared Tools\\Text Converters\\Import\\Zeta]\n"
      "\"Name\"=\"Zeta Writer\"\n\"Extensions\"=\"zw zwt\"\n\"Path\"=\"/bin/false\"\n"
      "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Shared Tools\\Text Converters\\Import\\Gone]\n"
      "\"Name\"=\"Gone Writer\"\n\"Extensions\"=\"gw\"\n\"Path\"=\"/bin/false\"\n\"Requires\"=\"no-such-tool-here\"\n"));
  const QStringList names = own.ConverterNames(TDirection::Import);
  EXPECT_EQ(names.last(), QStringLiteral("Zeta Writer"));
  EXPECT_FALSE(names.contains(QStringLiteral("Gone Writer")));
  EXPECT_TRUE(own.BuildConverterFilter(TDirection::Import).endsWith(QLatin1String("|Zeta Writer|*.zw;*.zwt")));
  EXPECT_FALSE(own.LoadConverter(QStringLiteral("Gone Writer"), TDirection::Import));
}

TEST_F(Converters, DocxOdtAndHtmlImportWithEveryParagraph) {
  const QByteArray markdown = "First paragraph of the letter.\n\nSecond one, with caf\xc3\xa9 and \xe2\x80\x9cquotes\xe2\x80\x9d.\n\nThird.\n";
  for (const auto &[file, name] : {std::pair{QStringLiteral("letter.docx"), QStringLiteral("Word (docx)")},
                                   std::pair{QStringLiteral("letter.odt"), QStringLiteral("OpenDocument Text")},
                                   std::pair{QStringLiteral("letter.html"), QStringLiteral("HTML")}}) {
    TMemoryEdit edit(QStringLiteral("old text"));
    ASSERT_TRUE(converters.ImportFile(MakeWithPandoc(file, markdown), name, edit)) << errors.join(u' ').toStdString();
    const QString text = edit.Text();
    EXPECT_TRUE(text.contains(QStringLiteral("First paragraph of the letter."))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("Second one, with café and “quotes”."))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("Third."))) << text.toStdString();
    EXPECT_FALSE(text.contains(QStringLiteral("old text")));
  }
  EXPECT_TRUE(messages.isEmpty() && errors.isEmpty()) << (messages + errors).join(u' ').toStdString();
}

TEST_F(Converters, AFileOfAnotherKindIsNotTheCorrectFormatAndChangesNothing) {
  TMemoryEdit edit(QStringLiteral("keep me"));
  const QString png = qEnvironmentVariable("VELLUMIX_SOURCE_DIR") + QStringLiteral("/data/icons/vellumix-16.png");
  EXPECT_FALSE(converters.ImportFile(png, QStringLiteral("Word (docx)"), edit));
  EXPECT_EQ(messages, QStringList{QStringLiteral("Not the correct file format")});
  EXPECT_TRUE(errors.isEmpty());
  EXPECT_EQ(edit.Text(), QStringLiteral("keep me"));
}

TEST_F(Converters, ALongDocumentArrivesWhole) {
  QByteArray markdown;
  for (int i = 0; i < 22000; ++i) markdown += "Paragraph " + QByteArray::number(i) + " of a long document, all of it.\n\n";
  ASSERT_GT(markdown.size(), 1000000);
  const QString file = MakeWithPandoc(QStringLiteral("long.docx"), markdown);
  TMemoryEdit edit;
  qsizetype progress = 0;
  converters.OnProgress = [&progress](qsizetype bytes) { progress = bytes; };
  ASSERT_TRUE(converters.ImportFile(file, QStringLiteral("Word (docx)"), edit)) << errors.join(u' ').toStdString();
  EXPECT_TRUE(edit.Text().contains(QStringLiteral("Paragraph 0 of a long document")));
  EXPECT_TRUE(edit.Text().contains(QStringLiteral("Paragraph 21999 of a long document, all of it.")));
  EXPECT_EQ(edit.Text().count(QStringLiteral("of a long document")), 22000);
  EXPECT_GT(progress, 1000000) << "progress was reported";
}

TEST_F(Converters, ExportsToDocxAndOdtReadBackToTheWorkspacesText) {
  TMemoryEdit edit(QStringLiteral("Dear friend,\nthank you for the café.\n\nYours truly"));
  edit.SetSelection(3, 4);
  for (const auto &[file, name] : {std::pair{QStringLiteral("out.docx"), QStringLiteral("Word (docx)")},
                                   std::pair{QStringLiteral("out.odt"), QStringLiteral("OpenDocument Text")}}) {
    const QString target = dir + u'/' + file;
    TestEnvironment::WriteFile(target, "an older file");  // written over without a question
    ASSERT_TRUE(converters.ExportFile(target, name, edit)) << errors.join(u' ').toStdString();
    const QString back = ReadWithPandoc(target);
    EXPECT_EQ(back.simplified(), QStringLiteral("Dear friend, thank you for the café. Yours truly")) << back.toStdString();
    EXPECT_TRUE(back.contains(QStringLiteral("Dear friend,\nthank you"))) << "line breaks are kept: " << back.toStdString();
  }
  EXPECT_EQ(edit.SelStart(), 3);
  EXPECT_EQ(edit.SelLength(), 4);
  EXPECT_EQ(QDir(dir).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
            (QStringList{QStringLiteral("out.docx"), QStringLiteral("out.odt")}))
      << "no scratch files are left beside the targets";
}

TEST_F(Converters, ADocMadeByTheOfficeImports) {
  if (QStandardPaths::findExecutable(QStringLiteral("soffice")).isEmpty())
    GTEST_SKIP() << "LibreOffice is not installed (tools/setup-debian.sh installs it)";
  const QString text = dir + QStringLiteral("/memo.txt");
  TestEnvironment::WriteFile(text, "Memo line one.\nMemo line two.\n");
  const QString profile = QStringLiteral("-env:UserInstallation=file://") + dir + QStringLiteral("/profile");
  const QString made = Run(QStringLiteral("soffice"), {QStringLiteral("--headless"), profile, QStringLiteral("--convert-to"),
                                                       QStringLiteral("doc:MS Word 97"), QStringLiteral("--outdir"), dir, text});
  ASSERT_TRUE(QFile::exists(dir + QStringLiteral("/memo.doc"))) << made.toStdString();
  TMemoryEdit edit;
  ASSERT_TRUE(converters.ImportFile(dir + QStringLiteral("/memo.doc"), QStringLiteral("Word 97-2003"), edit))
      << errors.join(u' ').toStdString();
  EXPECT_TRUE(edit.Text().contains(QStringLiteral("Memo line one.")));
  EXPECT_TRUE(edit.Text().contains(QStringLiteral("Memo line two.")));
}

TEST_F(Converters, AConverterThatCrashesHangsOrIsMissingEndsWithAClearMessage) {
  const QString crash = TestEnvironment::WriteFile(dir + QStringLiteral("/crash.sh"),
                                                   "#!/bin/sh\n[ \"$3\" = ready ] && exit 0\n[ \"$3\" = check ] && exit 0\nkill -SEGV $$\n");
  const QString hang = TestEnvironment::WriteFile(dir + QStringLiteral("/hang.sh"),
                                                  "#!/bin/sh\n[ \"$3\" = ready ] && exit 0\n[ \"$3\" = check ] && exit 0\nexec sleep 60\n");
  const QString junk = TestEnvironment::WriteFile(dir + QStringLiteral("/junk.sh"),
                                                  "#!/bin/sh\n[ \"$3\" = import ] && echo 'DATA 99999' && exit 0\nexit 0\n");
  for (const QString &script : {crash, hang, junk})
    QFile::setPermissions(script, QFile::permissions(script) | QFile::ExeOwner);
  QByteArray reg;
  for (const auto &[key, path] : {std::pair{"Crash", crash}, std::pair{"Hang", hang}, std::pair{"Junk", junk},
                                  std::pair{"Missing", QString(dir + QStringLiteral("/not-there"))}})
    reg += QByteArray("[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Shared Tools\\Text Converters\\Import\\") + key +
           "]\n\"Name\"=\"" + key + "\"\n\"Extensions\"=\"x\"\n\"Path\"=\"" + path.toUtf8() + "\"\n";
  TTextConverters own(HiveWith(reg));
  own.ShowMessage = converters.ShowMessage;
  own.ShowError = converters.ShowError;
  const int limit = TConverterProcess::TimeLimitMs;
  TConverterProcess::TimeLimitMs = 1500;
  const QString input = TestEnvironment::WriteFile(dir + QStringLiteral("/in.x"), "x");
  for (const char *name : {"Crash", "Hang", "Junk", "Missing"}) {
    errors.clear();
    TMemoryEdit edit(QStringLiteral("unchanged"));
    EXPECT_FALSE(own.ImportFile(input, QLatin1String(name), edit)) << name;
    EXPECT_EQ(edit.Text(), QStringLiteral("unchanged")) << name;
    ASSERT_EQ(errors.size(), 1) << name;
    const QString expected = QLatin1String(name) == QLatin1String("Crash")  ? QStringLiteral("stopped unexpectedly")
                             : QLatin1String(name) == QLatin1String("Hang") ? QStringLiteral("did not finish within 1.5 seconds")
                             : QLatin1String(name) == QLatin1String("Junk") ? QStringLiteral("wrong size")
                                                                            : QStringLiteral("is not installed");
    EXPECT_TRUE(errors.first().contains(expected)) << name << ": " << errors.first().toStdString();
  }
  TConverterProcess::TimeLimitMs = limit;
}

// File|Import and File|Export through their dialogs, as the main window runs them.
class ImportExportCommands : public ConverterFixture, public TEditHost {
 protected:
  void SetUp() override {
    ConverterFixture::SetUp();
    for (const char *name : {"ImportPath", "lblIFilter", "ExportPath", "lblEFilter"}) {
      auto *holder = new THolder(QString::fromLatin1(name), &frame);
      holder->SetCaption(QString::fromLatin1(name).startsWith(QLatin1String("lbl")) ? QStringLiteral("1") : dir + u'/');
    }
    frame.setStatusBar(new QStatusBar);
    frame.setCentralWidget(memo = new TRichEdit);
    frame.show();
  }
  ImportExport::TContext Context() { return {&frame, &frame, frame.statusBar(), this, memo}; }
  QString Holder(const char *name) { return frame.findChild<THolder *>(QLatin1String(name))->Caption(); }

  QString EditDisplay() const override { return QStringLiteral("0"); }
  void SetFilePath(const QString &) override {}
  void SetCurrentFileName(const QString &) override {}
  void TopMostOff() override { ++pauses; }
  void TopMostOn() override {}
  void UpdateTitles() override {}
  QMenu *PopupMenu() const override { return nullptr; }
  void OpenWebLink(const QString &, const QString &) override {}
  bool SaveFromClose(TfrmEdit *) override { return false; }
  void Activate(TfrmEdit *) override {}

  QMainWindow frame;
  TRichEdit *memo = nullptr;
  int pauses = 0;
};

TEST_F(ImportExportCommands, ImportThroughTheDialogFillsTheWorkspaceAndKeepsFolderAndType) {
  const QString file = MakeWithPandoc(QStringLiteral("notes.docx"), "Imported through the dialog.\n");
  TTextConverters converters;
  const int docx = int(converters.ConverterNames(TTextConverters::TDirection::Import).indexOf(QStringLiteral("Word (docx)"))) + 1;
  frame.findChild<THolder *>(QStringLiteral("lblIFilter"))->SetCaption(QString::number(docx));
  TModalAnswerer answerer({QStringLiteral("file:") + file});
  ImportExport::ImportDocument(Context());
  EXPECT_EQ(answerer.titles, QStringList{QStringLiteral("Import")});
  EXPECT_TRUE(memo->toPlainText().contains(QStringLiteral("Imported through the dialog."))) << memo->toPlainText().toStdString();
  EXPECT_EQ(frame.statusBar()->currentMessage(), file + QStringLiteral(" successfully imported."));
  EXPECT_EQ(Holder("ImportPath"), dir + u'/');
  EXPECT_EQ(Holder("lblIFilter"), QString::number(docx));
  EXPECT_EQ(pauses, 1);
}

TEST_F(ImportExportCommands, RichTextGoesBothWaysAndACancelledDialogChangesNothing) {
  memo->setPlainText(QStringLiteral("Rich text\nround trip é"));
  const QString rtf = dir + QStringLiteral("/saved.rtf");
  {
    TModalAnswerer answerer({QStringLiteral("file:") + rtf});
    ImportExport::ExportDocument(Context());
    EXPECT_EQ(answerer.titles, QStringList{QStringLiteral("Export...")});
  }
  EXPECT_TRUE(TestEnvironment::ReadFile(rtf).startsWith("{\\rtf1"));
  memo->setPlainText(QStringLiteral("replaced"));
  {
    TModalAnswerer answerer({QStringLiteral("file:") + rtf});
    ImportExport::ImportDocument(Context());
  }
  EXPECT_EQ(memo->toPlainText(), QStringLiteral("Rich text\nround trip é"));

  frame.findChild<THolder *>(QStringLiteral("ImportPath"))->SetCaption(QStringLiteral("/somewhere/"));
  TModalAnswerer cancel({QString()});
  ImportExport::ImportDocument(Context());
  EXPECT_EQ(Holder("ImportPath"), QStringLiteral("/somewhere/"));
  EXPECT_EQ(Holder("lblIFilter"), QStringLiteral("1"));
  EXPECT_EQ(memo->toPlainText(), QStringLiteral("Rich text\nround trip é"));
}

}  // namespace
