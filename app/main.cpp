// SPDX-License-Identifier: GPL-3.0-or-later
#include <cstdio>
#include <cstdlib>

#include "app/core/CommandLine.h"
#include "app/ui/Application.h"
#include "app/ui/fmMain.h"
#include "preferences/fmSetup.h"

namespace {

// Qt ends the process when it cannot reach a display; say why in words instead.
bool displayReachable() {
  const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
  if (!platform.isEmpty() && !platform.startsWith("xcb") && !platform.startsWith("wayland"))
    return true;
  return !qgetenv("DISPLAY").isEmpty() || !qgetenv("WAYLAND_DISPLAY").isEmpty();
}

}  // namespace

int main(int argc, char **argv) {
  // --help and --version need no display, so they are answered before Qt starts.
  QStringList parameters;
  for (int i = 1; i < argc; ++i) parameters << QString::fromLocal8Bit(argv[i]);
  switch (CommandLine::Action(parameters)) {
    case CommandLine::TAction::Help:
      std::fputs(CommandLine::HelpText().toLocal8Bit().constData(), stdout);
      return EXIT_SUCCESS;
    case CommandLine::TAction::Version:
      std::fputs(CommandLine::VersionText(QStringLiteral("Vellumix")).toLocal8Bit().constData(),
                 stdout);
      return EXIT_SUCCESS;
    case CommandLine::TAction::Run:
      break;
  }
  if (!displayReachable()) {
    std::fprintf(
        stderr,
        "Vellumix needs a graphical desktop, but no display was found (neither DISPLAY nor "
        "WAYLAND_DISPLAY is set).\nStart it from a desktop session, or under a virtual "
        "display: xvfb-run -a vellumix\n");
    return 2;
  }
  TApplication app(argc, argv);
  TfrmMain frmMain(CommandLine::FileNames(app.arguments().mid(1)));
  frmMain.SetupWizard = [&frmMain] { TfrmSetup::Run(frmMain, frmMain); };
  frmMain.show();
  return app.exec();
}
