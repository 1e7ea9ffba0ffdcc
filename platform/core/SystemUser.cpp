// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/core/SystemUser.h"

#include <pwd.h>
#include <unistd.h>

#include <vector>

namespace SystemUser {

QString FullName() {
  long size = sysconf(_SC_GETPW_R_SIZE_MAX);
  std::vector<char> buffer(size > 0 ? std::size_t(size) : 16384);
  passwd entry{};
  passwd *found = nullptr;
  if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found) != 0 || !found ||
      !found->pw_gecos)
    return {};
  const QString gecos = QString::fromLocal8Bit(found->pw_gecos);
  return gecos.section(u',', 0, 0).trimmed();
}

}  // namespace SystemUser
