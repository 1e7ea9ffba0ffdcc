// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "settings/core/RegFile.h"

namespace {

std::unique_ptr<TRegKey> ParseOk(const QByteArray &text) {
  QString error;
  auto root = RegFile::Parse(text, &error);
  EXPECT_TRUE(root) << error.toStdString();
  return root ? std::move(root) : std::make_unique<TRegKey>();
}

QString ParseError(const QByteArray &text) {
  QString error;
  EXPECT_FALSE(RegFile::Parse(text, &error)) << text.toStdString();
  return error;
}

}  // namespace

TEST(RegFile, WrittenFileReadsBackToTheSameBytes) {
  TRegKey root;
  TRegKey &form = root.Make({QStringLiteral("HKEY_CURRENT_USER"), QStringLiteral("Software"),
                             QStringLiteral("Main Form")});
  form.SetValue(
      TRegValue::MakeString(QStringLiteral("FilePath_Caption"), QStringLiteral("C:\\a \"b\"\\")));
  form.SetValue(TRegValue::MakeString(QStringLiteral("Lines"), QStringLiteral("one\r\ntwo\ttab")));
  form.SetValue(
      TRegValue::MakeString(QStringLiteral("Unicode"), QStringLiteral("Grüße ✓ \U0001F600")));
  form.SetValue(TRegValue::MakeString(QString(), QStringLiteral("default value")));
  form.SetValue(TRegValue::MakeDWord(QStringLiteral("Number"), 0xdeadbeef));
  TRegValue binary;
  binary.name = QStringLiteral("Blob");
  binary.type = quint32(TRegType::Binary);
  for (int i = 0; i < 100; ++i) binary.data.append(char(i * 7));
  form.SetValue(binary);
  TRegValue expand;
  expand.name = QStringLiteral("Path");
  expand.type = quint32(TRegType::ExpandString);
  expand.text = QStringLiteral("%HOME%/x");
  form.SetValue(expand);
  root.Make({QStringLiteral("HKEY_CURRENT_USER"), QStringLiteral("Software"),
             QStringLiteral("Main Form.SMTPSignature_Lines")});

  const QByteArray written = RegFile::Serialize(root);
  auto again = ParseOk(written);
  EXPECT_TRUE(again->SameContent(root));
  EXPECT_EQ(RegFile::Serialize(*again), written);

  // A person can read it: plain strings stay quoted text, long binary data wraps.
  EXPECT_TRUE(written.startsWith("Windows Registry Editor Version 5.00\n\n"));
  EXPECT_TRUE(written.contains("[HKEY_CURRENT_USER\\Software\\Main Form]\n"));
  EXPECT_TRUE(written.contains("\"FilePath_Caption\"=\"C:\\\\a \\\"b\\\"\\\\\"\n"));
  EXPECT_TRUE(written.contains("\"Number\"=dword:deadbeef\n"));
  EXPECT_TRUE(written.contains("@=\"default value\"\n"));
  EXPECT_TRUE(written.contains(",\\\n  "));
  for (const QByteArray &line : written.split('\n')) EXPECT_LE(line.size(), 80);
}

TEST(RegFile, ReadsHandWrittenAndExportedForms) {
  auto root = ParseOk(
      "\xef\xbb\xbfWindows Registry Editor Version 5.00\r\n"
      "; a comment\r\n"
      "[HKEY_CURRENT_USER\\Software\\A]\r\n"
      "\"x\" = \"1\"\r\n"
      "\"gone\"=\"soon\"\r\n"
      "\"gone\"=-\r\n"
      "\"bin\"=hex:01,02,\\\r\n"
      "   03\r\n"
      "\"sz\"=hex(1):41,00,42,00,00,00\r\n"
      "[HKEY_CURRENT_USER\\Software\\B]\r\n"
      "[-HKEY_CURRENT_USER\\Software\\B]\r\n");
  const TRegKey *a = root->Find(
      {QStringLiteral("hkey_current_user"), QStringLiteral("SOFTWARE"), QStringLiteral("a")});
  ASSERT_TRUE(a);
  EXPECT_EQ(a->Name(), QStringLiteral("A"));
  EXPECT_EQ(a->Value(QStringLiteral("X"))->text, QStringLiteral("1"));
  EXPECT_FALSE(a->Value(QStringLiteral("gone")));
  EXPECT_EQ(a->Value(QStringLiteral("bin"))->data, QByteArray("\x01\x02\x03"));
  EXPECT_TRUE(a->Value(QStringLiteral("sz"))->IsString());
  EXPECT_EQ(a->Value(QStringLiteral("sz"))->text, QStringLiteral("AB"));
  EXPECT_FALSE(root->Find(
      {QStringLiteral("HKEY_CURRENT_USER"), QStringLiteral("Software"), QStringLiteral("B")}));

  // An export in UTF-16 with its byte-order mark.
  const QString text = QStringLiteral(
      "Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\K]\r\n\"v\"=\"é\"\r\n");
  QByteArray utf16("\xff\xfe");
  utf16.append(reinterpret_cast<const char *>(text.utf16()), text.size() * 2);
  auto wide = ParseOk(utf16);
  EXPECT_EQ(wide->Find({QStringLiteral("HKEY_CURRENT_USER"), QStringLiteral("K")})
                ->Value(QStringLiteral("v"))
                ->text,
            QStringLiteral("é"));
}

TEST(RegFile, LinesMayEndInCrAloneOrInAMixture) {
  const QByteArray lines[] = {"Windows Registry Editor Version 5.00",
                              "",
                              "[HKEY_CURRENT_USER\\K]",
                              "\"bin\"=hex:01,\\",
                              "  02",
                              "\"v\"=\"text\""};
  for (const QByteArray &end : {QByteArray("\r"), QByteArray("\r\n"), QByteArray("\n")}) {
    QByteArray file;
    for (const QByteArray &line : lines) file += line + end;
    auto root = ParseOk(file);
    const TRegKey *key = root->Find({QStringLiteral("HKEY_CURRENT_USER"), QStringLiteral("K")});
    ASSERT_TRUE(key);
    EXPECT_EQ(key->Value(QStringLiteral("bin"))->data, QByteArray("\x01\x02"));
    EXPECT_EQ(key->Value(QStringLiteral("v"))->text, QStringLiteral("text"));
  }
  // Mixed, with line numbers counted per line end of any kind.
  EXPECT_EQ(ParseError("REGEDIT4\r\n\r\"a\"=\"b\"\n"),
            QStringLiteral("line 3: a value outside any key"));
}

TEST(RegFile, DamagedTextIsRefusedWithItsLine) {
  EXPECT_TRUE(ParseError("").contains(QStringLiteral("header")));
  EXPECT_TRUE(ParseError("garbage\n").contains(QStringLiteral("header")));
  EXPECT_EQ(ParseError("REGEDIT4\n\"a\"=\"b\"\n"),
            QStringLiteral("line 2: a value outside any key"));
  EXPECT_TRUE(ParseError("REGEDIT4\n[HKEY_CURRENT_USER\\A]\n\"a\"=\"b\n")
                  .startsWith(QStringLiteral("line 3")));
  ParseError("REGEDIT4\n[HKEY_CURRENT_USER\\A]\n\"a\"=hex:1,02\n");
  ParseError("REGEDIT4\n[HKEY_CURRENT_USER\\A]\n\"a\"=dword:123456789\n");
  ParseError("REGEDIT4\n[HKEY_CURRENT_USER\\A]\n\"a\"=\"b\" trailing\n");
  ParseError("REGEDIT4\n[HKEY_CURRENT_USER\\\\A]\n");
  ParseError("REGEDIT4\n[HKEY_CURRENT_USER\\A\n");
  ParseError("REGEDIT4\n[HKEY_CURRENT_USER\\A]\n\"a\"=\"\xff\xfe\"\n");  // not UTF-8
  ParseError("REGEDIT4\n[" + QByteArray("K\\").repeated(TRegKey::MaxDepth) + "K]\n");
  // A NUL in a key or value name: no such name can be written back.
  const char nulInKey[] = "REGEDIT4\n[HKEY_CURRENT_USER\\A\0B]\n";
  EXPECT_EQ(ParseError(QByteArray(nulInKey, sizeof nulInKey - 1)),
            QStringLiteral("line 2: bad key name"));
  const char nulInValue[] = "REGEDIT4\n[K]\n\"a\0b\"=\"x\"\n";
  EXPECT_EQ(ParseError(QByteArray(nulInValue, sizeof nulInValue - 1)),
            QStringLiteral("line 3: bad value name"));
  ParseError("REGEDIT4\n[K]\n\"" + QByteArray(TRegKey::MaxValueNameLength + 1, 'n') + "\"=\"\"\n");
  EXPECT_TRUE(
      ParseError(QByteArray(RegFile::MaxFileSize + 1, ' ')).contains(QStringLiteral("4 MiB")));
}

TEST(RegKey, NamesCompareWithoutCaseAndKeepTheirFirstSpelling) {
  TRegKey root;
  TRegKey &key = root.Make({QStringLiteral("Main Form")});
  EXPECT_EQ(&root.Make({QStringLiteral("MAIN FORM")}), &key);
  key.SetValue(
      TRegValue::MakeString(QStringLiteral("mniWordWrap_Checked"), QStringLiteral("True")));
  key.SetValue(
      TRegValue::MakeString(QStringLiteral("MNIWORDWRAP_CHECKED"), QStringLiteral("False")));
  ASSERT_EQ(key.Values().size(), 1u);
  EXPECT_EQ(key.Values().front().name, QStringLiteral("mniWordWrap_Checked"));
  EXPECT_EQ(key.Value(QStringLiteral("mniwordwrap_checked"))->text, QStringLiteral("False"));
  EXPECT_TRUE(key.RemoveValue(QStringLiteral("MniWordWrap_Checked")));
  EXPECT_FALSE(key.Value(QStringLiteral("mniWordWrap_Checked")));
  EXPECT_TRUE(root.RemoveChild(QStringLiteral("main form")));
  EXPECT_TRUE(root.Children().empty());
}
