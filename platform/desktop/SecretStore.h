// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QHash>
#include <QString>
#include <optional>

// Where passwords live: the desktop's secret store when one runs, else only this process's
// memory (asked again at the next run). A password is never written to the settings file or
// a log. Accounts are free-form keys such as "smtp:user@host".
class TSecretStore {
 public:
  virtual ~TSecretStore() = default;

  // True when passwords outlive this run (a desktop secret service answered).
  virtual bool Persistent() const = 0;
  // The stored password, or nothing when none is kept for the account.
  virtual std::optional<QString> Read(const QString &account) = 0;
  // Keeps the password; false (with the reason in Error()) when the store refused it. A
  // refused write still keeps the password in memory for this run.
  virtual bool Write(const QString &account, const QString &password) = 0;
  virtual void Forget(const QString &account) = 0;
  virtual QString Error() const = 0;

  // The process's store: the desktop's secret service when it answers, else memory only.
  static TSecretStore &Instance();
  // Tests put their own store in place (nullptr restores the default). Not owned.
  static void SetInstance(TSecretStore *store);
};

// Passwords held in this process's memory only: the fallback where no secret service runs,
// and the store tests put in place.
class TMemorySecretStore : public TSecretStore {
 public:
  bool Persistent() const override { return false; }
  std::optional<QString> Read(const QString &account) override;
  bool Write(const QString &account, const QString &password) override;
  void Forget(const QString &account) override;
  QString Error() const override { return {}; }

 private:
  QHash<QString, QString> passwords_;
};
