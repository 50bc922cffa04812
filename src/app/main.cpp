// sonvela: the desktop player. One copy runs at a time; the command line names a song to play at start.

#include <QApplication>
#include <QScreen>

#include <string>
#include <vector>

#include "app/command_line.h"
#include "app/instance_guard.h"
#include "app/main_layout.h"
#include "app/message_box_output.h"
#include "app/sonvela.h"

int main(int argc, char* argv[]) {
  // Qt takes its own options (-platform, -style, ...) out of the arguments first.
  QApplication application(argc, argv);
  const std::string arguments = sonvela::ArgumentsText(std::vector<std::string>(argv + 1, argv + argc));
  const std::unique_ptr<sonvela::MessageBoxes> messages = sonvela::MakeMessageBoxes();

  sonvela::InstanceGuard guard;
  if (!guard.Acquire()) {
    if (sonvela::NamesMidiFile(arguments)) messages->ShowMessage("Attenzione! Programma già in esecuzione");
    return 0;
  }

  // The layout fits the visible part of the screen the window opens on.
  const QRect workArea = QGuiApplication::primaryScreen()->availableGeometry();
  const auto layout = sonvela::MainLayout::Compute(workArea.width(), workArea.height());
  sonvela::Sonvela program(*messages, sonvela::SongFromArguments(arguments), layout, workArea);
  QObject::connect(&program.Windows().Main(), &sonvela::MainWindow::Ended, &application, &QApplication::quit,
                   Qt::QueuedConnection);
  program.Start();
  QApplication::exec();
  return 0;
}
