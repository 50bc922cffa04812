// sonvela: the desktop player. One copy runs at a time; the command line names a song to play at start.

#include <QApplication>
#include <QScreen>

#include <string>
#include <utility>
#include <vector>

#include "app/command_line.h"
#include "app/end_on_signal.h"
#include "app/first_paint_report.h"
#include "app/instance_guard.h"
#include "app/main_layout.h"
#include "app/message_box_output.h"
#include "app/quit_at_end.h"
#include "app/sonvela.h"
#include "platform/audio_libraries.h"

int main(int argc, char* argv[]) {
  // Before any thread starts: it sets the environment the audio libraries read.
  sonvela::PrepareAudioLibraries();
  // Before any thread starts, so that a termination request reaches the event loop and not a thread.
  sonvela::EndOnSignal endOnSignal;
  // Qt takes its own options (-platform, -style, ...) out of the arguments first.
  QApplication application(argc, argv);
  const std::string arguments = sonvela::ArgumentsText(std::vector<std::string>(argv + 1, argv + argc));

  sonvela::InstanceGuard guard;
  if (!guard.Acquire()) {
    // This copy ends right after: its box waits for the answer.
    if (sonvela::NamesMidiFile(arguments)) {
      sonvela::MakeWaitingMessageBoxes()->ShowMessage("Attenzione! Programma già in esecuzione");
    }
    return 0;
  }

  const std::unique_ptr<sonvela::WindowMessageBoxes> messages = sonvela::MakeMessageBoxes();
  // The layout fits the visible part of the screen the window opens on.
  const QRect workArea = QGuiApplication::primaryScreen()->availableGeometry();
  const auto layout = sonvela::MainLayout::Compute(workArea.width(), workArea.height());
  // For scripts and benchmarks: the end of the song ends the program, the first paint is reported.
  sonvela::ProgramParts parts;
  sonvela::QuitAtEnd quitAtEnd;
  if (sonvela::QuitAtEnd::Asked()) quitAtEnd.Into(parts);
  sonvela::Sonvela program(*messages, sonvela::SongFromArguments(arguments), layout, workArea,
                           std::move(parts));
  quitAtEnd.Watch(program);
  sonvela::MainWindow& main = program.Windows().Main();
  sonvela::FirstPaintReport firstPaintReport(main);
  endOnSignal.Watch([&main] { main.End(); });
  // Boxes open above the main window; the program ends with it, whatever boxes are open (what they said
  // goes to standard error), after its shutdown has run.
  messages->SetOwner(&main);
  QObject::connect(
      &main, &sonvela::MainWindow::Ended, &application,
      [&messages] {
        messages->EndWithWindow();
        QApplication::quit();
      },
      Qt::QueuedConnection);
  program.Start();
  // For screenshots and benchmarks: the karaoke window open from the start.
  if (!qEnvironmentVariableIsEmpty("SONVELA_KARAOKE")) program.OpenKaraokeWindow();
  QApplication::exec();
  return 0;
}
