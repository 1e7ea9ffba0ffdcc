// SPDX-License-Identifier: GPL-3.0-or-later
#include "MailFixture.h"

#include <QFile>

#include "TestEnvironment.h"
#include "app/ui/MailIcons.h"
#include "settings/core/RootKey.h"
#include "settings/core/SettingsStore.h"
#include "settings/ui/FormTables.h"

void MailFixture::SetUp() {
  // Every test starts from a user without settings.
  QFile::remove(TSettingsStore::UserFilePath());
  TSecretStore::SetInstance(&secrets);
  holders.setObjectName(QStringLiteral("frmMain"));
  for (const TStoredDefault &value : FormTables::MainFormDefaults()) {
    const qsizetype cut = value.valueName.indexOf(u'_');
    const QString name = value.valueName.left(cut), property = value.valueName.mid(cut + 1);
    if (property != u"Caption" && property != u"Checked" && property != u"Lines") continue;
    THolder *holder = holders.findChild<THolder *>(name);
    if (!holder) holder = new THolder(name, &holders);
    if (property == u"Caption") holder->SetCaption(value.text);
    if (property == u"Checked") holder->SetChecked(value.text == u"True");
    if (property == u"Lines") holder->SetLines(value.text.split(u'\n'));
  }
  auto *dlgOpen = new QObject(&holders);
  dlgOpen->setObjectName(QStringLiteral("dlgOpen"));
  dlgOpen->setProperty("Filter", QStringLiteral("Text Files (*.TXT)|*.txt|All Files (*.*)|*.*"));
  Holder("lblFilter")->SetCaption(QStringLiteral("2"));
  context.holders = &holders;
  context.icons = MailIconsFromGlyphs();
}

void MailFixture::TearDown() {
  form.reset();
  Settle();
  TSecretStore::SetInstance(nullptr);
}

THolder *MailFixture::Holder(const char *name) const {
  THolder *holder = holders.findChild<THolder *>(QString::fromLatin1(name));
  EXPECT_NE(holder, nullptr) << name;
  return holder;
}

void MailFixture::UseServer(const TSmtpSink &sink) {
  Holder("SMTPHost")->SetCaption(QStringLiteral("127.0.0.1"));
  Holder("SMTPPort")->SetCaption(QString::number(sink.Port()));
  Holder("SMTPReminder")->SetChecked(false);
}

TfrmEmail &MailFixture::Open(const QString &text) {
  form = std::make_unique<TfrmEmail>(context, text);
  form->show();
  EXPECT_TRUE(QTest::qWaitForWindowExposed(form.get()));
  Settle();
  return *form;
}

void MailFixture::Run(const char *command) {
  QAction *action = form->Command(QString::fromLatin1(command));
  ASSERT_NE(action, nullptr) << command;
  ASSERT_TRUE(action->isEnabled()) << command;
  action->trigger();
  Settle();
}

void MailFixture::Address(const QString &from, const QString &to) {
  form->edtFrom->setText(from);
  form->edtTo->setText(to);
}

void MailFixture::Settle() { TestEnvironment::Settle(); }

QStringList MailFixture::Strings(const QJsonValue &value) {
  QStringList list;
  for (const QJsonValue item : value.toArray()) list << item.toString();
  return list;
}

QString MailFixture::HeaderValue(const QJsonObject &record, const QString &name) {
  for (const QJsonValue pair : record[QStringLiteral("headers")].toArray())
    if (pair[0].toString().compare(name, Qt::CaseInsensitive) == 0) return pair[1].toString();
  return QStringLiteral("<missing>");
}

QByteArray MailFixture::HeaderPart(const QByteArray &raw) {
  return raw.left(raw.indexOf("\r\n\r\n") + 2);
}

QString MailFixture::Stored(const QString &section, const QString &name) {
  TSettingsStore store(TSettingsStore::UserFilePath());
  TRootKey root(VellumixRootKey, store);
  return root.ReadString(section, name, QStringLiteral("<missing>"));
}
