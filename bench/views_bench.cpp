// Views benchmark: the painters at the sizes of a 1280 x 800 screen.
//   `views_bench FILE`: the song map of FILE (meant for the 3.2 million event file of load_bench.sh), against
//   the same dots set one by one through QPainter; lighting and clearing a key; a full keyboard from its
//   picture; the progress tick's sixteen level bars, with the sixteen instrument labels.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include <QGuiApplication>
#include <QPainter>

#include "files/read_song_file.h"
#include "player/colours.h"
#include "song/analyse_song.h"
#include "song/song_document.h"
#include "text/logs.h"
#include "views/channel_displays.h"
#include "views/keyboards.h"
#include "views/song_panels.h"
#include "views/surface.h"

namespace {

using Clock = std::chrono::steady_clock;
using sonvela::Colour;

class QuietMessages : public sonvela::MessageBoxes {
 public:
  void ShowMessage(std::string_view text) override {
    std::fprintf(stderr, "%.*s\n", int(text.size()), text.data());
  }
};

// Median and fastest of `runs` timings of `work`, in milliseconds per call of it (`calls` calls a run).
template <typename Work>
void Report(const char* label, int runs, int calls, Work work) {
  std::vector<double> ms;
  for (int run = 0; run < runs; ++run) {
    const auto start = Clock::now();
    for (int call = 0; call < calls; ++call) work(call);
    ms.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count() / calls);
  }
  std::sort(ms.begin(), ms.end());
  std::printf("%-58s median %9.4f ms  fastest %9.4f ms\n", label, ms[ms.size() / 2], ms.front());
}

// The song map drawn the plain way, one QPainter point a dot: the peer of DrawSongMap.
void DotsByPainter(QImage& image, const sonvela::SongTables& tables) {
  image.fill(Qt::black);
  QPainter painter(&image);
  const double w = image.width();
  const int h = image.height();
  for (int32_t t = 1; t <= tables.TrackCount; ++t) {
    for (int32_t j = 1; j <= tables.TrackEventCount(t); ++j) {
      const sonvela::TrackEvent& event = tables.Event(t, j);
      if (event.tick >= tables.LongestTrackTicks) break;
      if (event.command < 0x90 || event.command > 0x9F) continue;
      painter.setPen(event.command == 0x99 ? Qt::green : Qt::white);
      painter.drawPoint(static_cast<int>(std::lrint(static_cast<double>(event.tick) * w /
                                                    static_cast<double>(tables.LongestTrackTicks))),
                        static_cast<int>(std::lrint(h - event.data1 * h / 127.0)));
    }
  }
}

}  // namespace

int main(int argc, char* argv[]) {
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  if (argc != 2) {
    std::fprintf(stderr, "usage: views_bench FILE\n");
    return 2;
  }
  sonvela::SongDocument document;
  sonvela::Logs logs;
  QuietMessages messages;
  document.FileName = argv[1];
  if (!sonvela::ReadSongFile(document.FileName, document.Tables, messages)) return 1;
  sonvela::AnalyseSong({document.FileName, document.Tables, document.Listing, logs, messages,
                        sonvela::LocalDateTime{2024, 5, 6, 10, 0, 0}});
  const sonvela::SongTables& tables = document.Tables;
  int64_t events = 0;
  for (int32_t t = 1; t <= tables.TrackCount; ++t) events += tables.TrackEventCount(t);
  std::printf("%s: %lld events in %d tracks\n", argv[1], static_cast<long long>(events), tables.TrackCount);

  // 1280 x 800: the song map is 1272 x 90, channel keyboards 820 x 30, the big one 1261 x 110.
  QImage map = sonvela::MakeSurface({1272, 90});
  Report("song map (DrawSongMap)", 9, 1, [&](int) { sonvela::DrawSongMap(map, tables); });
  int64_t noteOns = 0;
  Report("floor: every event's time and command read once", 9, 1, [&](int) {
    noteOns = 0;
    for (int32_t t = 1; t <= tables.TrackCount; ++t) {
      for (const sonvela::TrackEvent& event : tables.TrackEvents[static_cast<size_t>(t)]) {
        noteOns += (event.command & 0xF0) == 0x90 && event.tick < tables.LongestTrackTicks;
      }
    }
  });
  std::printf("(%lld note-ons)\n", static_cast<long long>(noteOns));
  QImage peer = sonvela::MakeSurface({1272, 90});
  Report("song map, peer: a QPainter point a dot", 3, 1, [&](int) { DotsByPainter(peer, tables); });

  sonvela::KeyboardPicture channelPicture;
  QImage channel = sonvela::MakeSurface({820, 30});
  sonvela::PaintChannelKeyboard(channel, channelPicture, 0, sonvela::kRedrawKeyboard);
  Report("channel keyboard: light or clear one key (61, 62 by turns)", 9, 20000, [&](int call) {
    const int key = 61 + (call / 2) % 2;
    sonvela::PaintChannelKeyboard(channel, channelPicture, key,
                                  call % 2 ? sonvela::kRestoreKey : int64_t{sonvela::kChannelColour[1]});
  });
  Report("channel keyboard: full redraw from its picture", 9, 2000,
         [&](int) { sonvela::PaintChannelKeyboard(channel, channelPicture, 0, sonvela::kRedrawKeyboard); });
  Report("channel keyboard: first full redraw (108 keys drawn)", 9, 200, [&](int) {
    sonvela::KeyboardPicture fresh;
    sonvela::PaintChannelKeyboard(channel, fresh, 0, sonvela::kRedrawKeyboard);
  });

  sonvela::BigKeyboardState big;
  QImage keyboard = sonvela::MakeSurface({1261, 110});
  QImage history = sonvela::MakeSurface({1261, 450});
  sonvela::PaintBigKeyboard(big, keyboard, history, 0, sonvela::kRedrawKeyboard, true, false);
  const auto lightOrClear = [&](int call, bool historyOn) {
    const int key = 61 + (call / 2) % 2;
    sonvela::PaintBigKeyboard(big, keyboard, history, key,
                              call % 2 ? sonvela::kRestoreKey : int64_t{sonvela::kChannelColour[1]}, true,
                              historyOn);
  };
  Report("big keyboard: light or clear one key", 9, 20000, [&](int call) { lightOrClear(call, false); });
  // With the strip full every lit key moves it up a row (1261 x 450 pixels) and adds one.
  Report("big keyboard: light one key adding a history row, full strip", 9, 5000, [&](int call) {
    lightOrClear(2 * call, true);
    lightOrClear(2 * call + 1, true);
  });
  Report("big keyboard: full redraw from its picture", 9, 2000, [&](int) {
    sonvela::PaintBigKeyboard(big, keyboard, history, 0, sonvela::kRedrawKeyboard, true, false);
  });

  std::vector<QImage> bars(16, sonvela::MakeSurface({22, 30}));
  std::vector<QImage> labels(16, sonvela::MakeSurface({110, 30}));
  Report("progress tick: 16 level bars", 9, 500, [&](int call) {
    for (int c = 0; c < 16; ++c)
      sonvela::DrawLevelBar(bars[static_cast<size_t>(c)], (call * 10 + c * 8) % 128);
  });
  Report("16 level bars and 16 instrument labels", 9, 500, [&](int call) {
    for (int c = 0; c < 16; ++c) {
      sonvela::DrawLevelBar(bars[static_cast<size_t>(c)], (call * 10 + c * 8) % 128);
      sonvela::DrawInstrumentLabel(labels[static_cast<size_t>(c)], "47 Orchestral Strings",
                                   sonvela::kProgramShown);
    }
  });
  return 0;
}
