// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <gtest/gtest.h>

#include <QAction>
#include <QJsonArray>
#include <QJsonObject>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>
#include <memory>

#include "MailTestServers.h"
#include "ModalAnswerer.h"
#include "mail/ui/MailContext.h"
#include "mail/ui/fmEmail.h"
#include "platform/desktop/SecretStore.h"
#include "settings/ui/Holder.h"

// The main window's mail holders with their stored defaults, a compose window on them and
// the helpers a test needs to use it as a user would.
class MailFixture : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Points the holders at the sink and switches off the connection reminder.
  void UseServer(const TSmtpSink &sink);
  THolder *Holder(const char *name) const;

  // A compose window for the workspace text, shown and settled.
  TfrmEmail &Open(const QString &text = QStringLiteral("Hello"));
  // Triggers a command of the open form by name (runs until the command has finished).
  void Run(const char *command);
  // Fills From, To (and Subject) the way a user types them.
  void Address(const QString &from, const QString &to);
  // Lets pending events run.
  static void Settle();

  static QStringList Strings(const QJsonValue &value);
  static QString HeaderValue(const QJsonObject &record, const QString &name);
  static QByteArray HeaderPart(const QByteArray &raw);
  // The stored text of a value of the user's settings; "<missing>" when not there.
  static QString Stored(const QString &section, const QString &name);

  // Passwords stay in this test's memory, never in the desktop's store.
  TMemorySecretStore secrets;
  QObject holders;
  TMailContext context;
  std::unique_ptr<TfrmEmail> form;
};
