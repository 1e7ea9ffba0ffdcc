// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/desktop/SecretStore.h"

#include <qt6keychain/keychain.h>

#include <QTimer>

#include "platform/core/NestedWait.h"
#include "platform/core/ProductTexts.h"

namespace {

// The service name under which the desktop's secret store files the passwords.
const QString Service = ProductTexts::Name();
// Longest wait for the secret service; one that does not answer in time counts as absent
// for the rest of the run, and the password is asked for instead.
constexpr int ServiceWait = 2000;

// Runs one keychain job to its end. False, with the reason, when it failed or the service
// did not answer in time.
bool RunJob(QKeychain::Job &job, QKeychain::Error &error, QString &reason) {
  job.setAutoDelete(false);
  // Never the library's clear-text fallback file: a password stays out of every file.
  job.setInsecureFallback(false);
  // The program stays responsive while the service answers.
  TNestedWait wait(&job);
  bool finished = false;
  bool late = false;
  QObject::connect(&job, &QKeychain::Job::finished, &job, [&] {
    finished = true;
    wait.Wake();
  });
  QTimer timer;
  timer.setSingleShot(true);
  QObject::connect(&timer, &QTimer::timeout, &job, [&] {
    late = true;
    wait.Wake();
  });
  timer.start(ServiceWait);
  job.start();
  wait.Until([&] { return finished || late; });
  if (!finished) {
    error = QKeychain::NoBackendAvailable;
    reason = QStringLiteral("The secret service did not answer.");
    return false;
  }
  error = job.error();
  reason = job.errorString();
  return error == QKeychain::NoError;
}

bool ServiceMissing(QKeychain::Error error) {
  return error == QKeychain::NoBackendAvailable || error == QKeychain::NotImplemented ||
         error == QKeychain::OtherError;
}

// The desktop's secret store through QtKeychain, with a memory copy of everything read or
// written this run. Once the service proves absent, only the memory copy is used.
class TDesktopSecretStore : public TSecretStore {
 public:
  bool Persistent() const override {
    const_cast<TDesktopSecretStore *>(this)->Probe();
    return available_;
  }

  std::optional<QString> Read(const QString &account) override {
    if (auto known = memory_.Read(account)) return known;
    if (probed_ && !available_) return std::nullopt;
    QKeychain::ReadPasswordJob job(Service);
    job.setKey(account);
    QKeychain::Error error;
    const bool read = RunJob(job, error, error_);
    // The read itself tells whether the service answers: a missing entry is an answer.
    if (!probed_) {
      probed_ = true;
      available_ = read || error == QKeychain::EntryNotFound;
    }
    if (!read) {
      if (ServiceMissing(error)) available_ = false;
      return std::nullopt;
    }
    memory_.Write(account, job.textData());
    return job.textData();
  }

  bool Write(const QString &account, const QString &password) override {
    memory_.Write(account, password);
    Probe();
    if (!available_) {
      error_ = QStringLiteral(
          "No secret service runs: the password is kept until the program "
          "ends.");
      return false;
    }
    QKeychain::WritePasswordJob job(Service);
    job.setKey(account);
    job.setTextData(password);
    QKeychain::Error error;
    if (RunJob(job, error, error_)) return true;
    if (ServiceMissing(error)) available_ = false;
    return false;
  }

  void Forget(const QString &account) override {
    memory_.Forget(account);
    Probe();
    if (!available_) return;
    QKeychain::DeletePasswordJob job(Service);
    job.setKey(account);
    QKeychain::Error error;
    RunJob(job, error, error_);
  }

  QString Error() const override { return error_; }

 private:
  // Asks the service once whether it answers at all: a missing entry is an answer.
  void Probe() {
    if (probed_) return;
    probed_ = true;
    QKeychain::ReadPasswordJob job(Service);
    job.setKey(QStringLiteral("probe"));
    QKeychain::Error error;
    QString reason;
    available_ = RunJob(job, error, reason) || error == QKeychain::EntryNotFound;
    if (!available_) error_ = reason;
  }

  TMemorySecretStore memory_;
  bool probed_ = false;
  bool available_ = false;
  QString error_;
};

TSecretStore *replacement = nullptr;

}  // namespace

std::optional<QString> TMemorySecretStore::Read(const QString &account) {
  const auto found = passwords_.constFind(account);
  if (found == passwords_.constEnd()) return std::nullopt;
  return *found;
}

bool TMemorySecretStore::Write(const QString &account, const QString &password) {
  passwords_.insert(account, password);
  return true;
}

void TMemorySecretStore::Forget(const QString &account) { passwords_.remove(account); }

TSecretStore &TSecretStore::Instance() {
  if (replacement) return *replacement;
  static TDesktopSecretStore desktop;
  return desktop;
}

void TSecretStore::SetInstance(TSecretStore *store) { replacement = store; }
