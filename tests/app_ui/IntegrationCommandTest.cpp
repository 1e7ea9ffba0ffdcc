// SPDX-License-Identifier: GPL-3.0-or-later
#include <QAction>
#include <QFile>
#include <QMenu>
#include <QProcess>

#include "AppFixture.h"
#include "integration/Autostart.h"
#include "integration/DefaultEditor.h"

namespace {

QString XdgDefault() {
  QProcess process;
  process.start(QStringLiteral("xdg-mime"),
                {QStringLiteral("query"), QStringLiteral("default"), QStringLiteral("text/plain")});
  process.waitForFinished(60000);
  return QString::fromUtf8(process.readAllStandardOutput()).trimmed();
}

using IntegrationCommands = AppFixture;

TEST_F(IntegrationCommands, DefaultWindowsNotepadFollowsMimeappsAndStartWithWindowsWritesAnEntry) {
  qputenv("XDG_DATA_DIRS", (TestEnvironment::Home() + QStringLiteral("/no-system-data")).toUtf8());
  qputenv("XDG_CONFIG_DIRS", "/proc/no-such-folder");
  const QString mimeapps = TestEnvironment::Home() + QStringLiteral("/.config/mimeapps.list");
  QFile::remove(mimeapps);
  TfrmMain &m = Start();
  QAction *setDefault = m.Action(QStringLiteral("mniSetDefault"));
  QMenu *options = m.Menu(QStringLiteral("mniOptions"));
  ASSERT_TRUE(setDefault->isEnabled());

  Q_EMIT options->aboutToShow();
  EXPECT_FALSE(setDefault->isChecked());
  EXPECT_EQ(setDefault->statusTip(), QStringLiteral("Set Vellumix as the default notepad."));
  setDefault->trigger();
  EXPECT_TRUE(setDefault->isChecked());
  EXPECT_EQ(XdgDefault(), QStringLiteral("vellumix.desktop"));
  Q_EMIT options->aboutToShow();
  EXPECT_TRUE(setDefault->isChecked());
  EXPECT_EQ(setDefault->statusTip(), QStringLiteral("Remove Vellumix as the default notepad."));

  // Changed by hand: the mark follows the file at the next opening of the menu.
  TestEnvironment::WriteFile(mimeapps, "[Default Applications]\ntext/plain=other.desktop;\n");
  Q_EMIT options->aboutToShow();
  EXPECT_FALSE(setDefault->isChecked());

  // Start With Windows: the entry appears in the user's autostart folder (the machine-wide
  // folder cannot be made) and goes again when unchecked.
  const QString entry = TAutostart::UserFolder() + QStringLiteral("Ambrel-4-Autostart.desktop");
  QAction *winStart = m.Action(QStringLiteral("mniWinStart"));
  ASSERT_TRUE(winStart->isEnabled());
  winStart->trigger();
  ASSERT_TRUE(winStart->isChecked());
  EXPECT_TRUE(QFile::exists(entry));
  EXPECT_TRUE(QFile(entry).open(QIODevice::ReadOnly));
  winStart->trigger();
  EXPECT_FALSE(QFile::exists(entry));
}

}  // namespace
