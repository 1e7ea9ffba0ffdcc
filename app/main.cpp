#include "Application.h"
#include "fmMain.h"
#include "fmSetup.h"

#include <cstdio>
#include <cstdlib>

namespace {

// Qt ends the process when it cannot reach a display; say why in words instead.
bool displayReachable() {
  const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
  if (!platform.isEmpty() && !platform.startsWith("xcb") && !platform.startsWith("wayland")) return true;
  return !qgetenv("DISPLAY").isEmpty() || !qgetenv("WAYLAND_DISPLAY").isEmpty();
}

}  // namespace

int main(int argc, char **argv) {
  if (!displayReachable()) {
    std::fprintf(stderr,
                 "Vellumix needs a graphical desktop, but no display was found (neither DISPLAY nor "
                 "WAYLAND_DISPLAY is set).\nStart it from a desktop session, or under a virtual "
                 "display: xvfb-run tools/run.sh\n");
    return 2;
  }
  TApplication app(argc, argv);
  TfrmMain frmMain(app.arguments().mid(1));
  frmMain.SetupWizard = [&frmMain] { TfrmSetup::Run(frmMain, frmMain); };
  frmMain.show();
  return app.exec();
}
