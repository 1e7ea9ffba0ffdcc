// SPDX-License-Identifier: GPL-3.0-or-later
// The password store: the memory store, and the desktop store where no secret service
// answers (the case of every machine without a desktop session, CI included).
#include <gtest/gtest.h>

#include <QDirIterator>
#include <QFile>

#include "TestEnvironment.h"
#include "platform/desktop/SecretStore.h"

TEST(SecretStore, MemoryStoreKeepsEachAccountApart) {
  TMemorySecretStore store;
  EXPECT_FALSE(store.Persistent());
  EXPECT_FALSE(store.Read(QStringLiteral("smtp:a@host")).has_value());
  EXPECT_TRUE(store.Write(QStringLiteral("smtp:a@host"), QStringLiteral("one")));
  EXPECT_TRUE(store.Write(QStringLiteral("smtp:b@host"), QString()));
  EXPECT_EQ(store.Read(QStringLiteral("smtp:a@host")), QStringLiteral("one"));
  // An empty password is a password, not "none kept".
  EXPECT_EQ(store.Read(QStringLiteral("smtp:b@host")), QString());
  store.Forget(QStringLiteral("smtp:a@host"));
  EXPECT_FALSE(store.Read(QStringLiteral("smtp:a@host")).has_value());

  TSecretStore::SetInstance(&store);
  EXPECT_EQ(&TSecretStore::Instance(), &store);
  TSecretStore::SetInstance(nullptr);
  EXPECT_NE(&TSecretStore::Instance(), &store);
}

TEST(SecretStore, WithoutSecretServiceThePasswordLivesInMemoryOnly) {
  // No session bus to reach: the desktop store finds no secret service.
  qputenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/vellumix-test-bus");
  TSecretStore &store = TSecretStore::Instance();
  const QString password = QStringLiteral("Tr0ub4dor&3-never-on-disk");
  EXPECT_FALSE(store.Persistent());
  EXPECT_FALSE(store.Read(QStringLiteral("smtp:me@mail.example")).has_value());
  EXPECT_FALSE(store.Write(QStringLiteral("smtp:me@mail.example"), password));
  EXPECT_FALSE(store.Error().isEmpty()) << "the refusal says why";
  EXPECT_EQ(store.Read(QStringLiteral("smtp:me@mail.example")), password) << "kept for this run";
  store.Forget(QStringLiteral("smtp:me@mail.example"));
  EXPECT_FALSE(store.Read(QStringLiteral("smtp:me@mail.example")).has_value());

  QDirIterator files(TestEnvironment::Home(), QDir::Files | QDir::Hidden,
                     QDirIterator::Subdirectories);
  while (files.hasNext()) {
    const QString path = files.next();
    EXPECT_FALSE(TestEnvironment::ReadFile(path).contains(password.toUtf8())) << path.toStdString();
  }
}
