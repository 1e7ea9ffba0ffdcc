// SPDX-License-Identifier: GPL-3.0-or-later
#include "about/SupportRequest.h"

#include "about/SysInfoComp.h"

namespace SupportRequest {

QString Subject(const QString &programName) {
  return programName + QStringLiteral(" technical support");
}

QStringList Body(const QString &programName, const QString &version, const TSysInfoComp &info) {
  const QString separator(47, u'=');
  return {
      QStringLiteral("Before you contact tech support please consult the on-line help files that "
                     "have been provided to answer most of your questions."),
      separator,
      QStringLiteral("\tProgram Name:\t") + programName,
      QStringLiteral("\tProgram Version:\t") + version,
      separator,
      QStringLiteral("\tProcessor:\t") +
          TSysInfoComp::ArchitectureText(info.siProcessorArchitecture()),
      QStringLiteral("\tProcessor Type:\t") + QString::number(info.siProcessorType()),
      QStringLiteral("\tPhysical Memory:\t") + TSysInfoComp::MemoryText(info.msTotalPhys()),
      QStringLiteral("\tPlatform:\t\t") + TSysInfoComp::PlatformText(info.osPlatformId()),
      QStringLiteral("\tVersion:\t\t") + info.VersionText(),
      QStringLiteral("\tBuild:\t\t") + QString::number(info.osBuildNumber()),
      separator,
      QStringLiteral(
          "Please give a full description of what you were doing when the error/bug occurred."),
      QString(),
      separator,
      QStringLiteral("Any further comments or questions can be added here."),
      QString(),
      separator,
      QStringLiteral(
          "Allow at least 24 hours for a response to this request for product support. "),
  };
}

}  // namespace SupportRequest
