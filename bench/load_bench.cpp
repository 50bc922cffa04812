// Load benchmark: `load_bench generate FILE EVENTS_PER_TRACK` writes a dense 16-track file;
// `load_bench sysex FILE MEGABYTES` writes a file that is one SysEx of that size;
// `load_bench load FILE` reads it, analyses it with the complete listing and lists the event table,
// detects the charset of its texts as the first text shown would, and prints the time of each step and the
// memory the song tables hold per stored event.

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "files/read_song_file.h"
#include "platform/system_wall_clock.h"
#include "platform/text_decoder.h"
#include "song/analyse_song.h"
#include "song/event_table.h"
#include "song/midi_bytes.h"
#include "song/song_document.h"
#include "text/logs.h"

namespace {

class QuietMessages : public sonvela::MessageBoxes {
 public:
  void ShowMessage(std::string_view text) override {
    std::fprintf(stderr, "%.*s\n", int(text.size()), text.data());
  }
};

std::string BigEndian(uint32_t value, int width) {
  std::string out;
  for (int i = width - 1; i >= 0; --i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
  return out;
}

// Four events in 15 bytes: a note-on with its status, then running status with one- and two-byte deltas.
std::string DenseTrack(int channel, int events) {
  std::string data;
  data.reserve(static_cast<size_t>(events) * 4 + 16);
  data += std::string("\x00\xFF\x51\x03\x07\xA1\x20", 7);
  int key = 36 + channel;
  for (int i = 0; i + 4 <= events; i += 4) {
    const char note = static_cast<char>(key);
    const char next = static_cast<char>(key + 7);
    data += {'\x01', static_cast<char>(0x90 | channel), note, '\x64'};
    data += {'\x05', note, '\x00'};
    sonvela::AppendVarLen(data, 130);
    data += {next, '\x50'};
    sonvela::AppendVarLen(data, 200);
    data += {next, '\x00'};
    key = 36 + (key - 36 + 5) % 60;
  }
  data += std::string("\x00\xFF\x2F\x00", 4);
  return "MTrk" + BigEndian(static_cast<uint32_t>(data.size()), 4) + data;
}

double Seconds(std::chrono::steady_clock::time_point since) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

}  // namespace

int main(int argc, char* argv[]) {
  if (argc == 4 && std::string(argv[1]) == "generate") {
    const int perTrack = std::atoi(argv[3]);
    std::string file = "MThd" + BigEndian(6, 4) + BigEndian(1, 2) + BigEndian(16, 2) + BigEndian(480, 2);
    for (int channel = 0; channel < 16; ++channel) file += DenseTrack(channel, perTrack);
    std::ofstream(argv[2], std::ios::binary).write(file.data(), static_cast<std::streamsize>(file.size()));
    std::printf("wrote %s: %zu bytes, %d events per track\n", argv[2], file.size(), perTrack);
    return 0;
  }
  if (argc == 4 && std::string(argv[1]) == "sysex") {
    const auto bytes = static_cast<uint32_t>(std::atoi(argv[3])) << 20;
    std::string data("\x00\xF0", 2);
    sonvela::AppendVarLen(data, bytes);
    data.append(bytes - 1, '\x11');
    data += std::string("\xF7\x00\xFF\x2F\x00", 5);
    const std::string file = "MThd" + BigEndian(6, 4) + BigEndian(0, 2) + BigEndian(1, 2) + BigEndian(96, 2) +
                             "MTrk" + BigEndian(static_cast<uint32_t>(data.size()), 4) + data;
    std::ofstream(argv[2], std::ios::binary).write(file.data(), static_cast<std::streamsize>(file.size()));
    std::printf("wrote %s: %zu bytes, one SysEx\n", argv[2], file.size());
    return 0;
  }
  if ((argc != 3 && argc != 4) || std::string(argv[1]) != "load") {
    std::fprintf(stderr,
                 "usage: load_bench generate FILE EVENTS_PER_TRACK | load_bench sysex FILE MEGABYTES | "
                 "load_bench load FILE [--items]\n");
    return 2;
  }
  sonvela::SongDocument document;
  sonvela::Logs logs;
  QuietMessages messages;
  document.FileName = argv[2];
  const auto start = std::chrono::steady_clock::now();
  if (!sonvela::ReadSongFile(document.FileName, document.Tables, messages)) return 1;
  const double read = Seconds(start);
  const auto analyseStart = std::chrono::steady_clock::now();
  sonvela::AnalyseSong({document.FileName, document.Tables, document.Listing, logs, messages,
                        sonvela::SystemWallClock().Now()});
  const double analyse = Seconds(analyseStart);
  const auto tableStart = std::chrono::steady_clock::now();
  sonvela::ListEventTable(document, logs, messages);
  const double table = Seconds(tableStart);
  const auto charsetStart = std::chrono::steady_clock::now();
  sonvela::TextDecoder texts;
  texts.Follow(document.Tables);
  const std::string charset = texts.InUse();
  const double detection = Seconds(charsetStart);
  const double total = Seconds(start);

  int64_t events = 0;
  for (int32_t t = 1; t <= document.Tables.TrackCount; ++t) events += document.Tables.TrackEventCount(t);
  const double bytesPerEvent = events ? double(document.Tables.EventTableBytes()) / double(events) : 0;
  std::printf("events %lld  listing lines %zu  event table lines %zu\n", static_cast<long long>(events),
              document.Listing.Lines.Size(), document.EventTable.Size());
  std::printf(
      "read %.3f s  analyse+listing %.3f s  event table %.3f s  charset %.3f s (%zu texts: %s)  "
      "total %.3f s\n",
      read, analyse, table, detection, static_cast<size_t>(document.Tables.TextCount), charset.c_str(),
      total);
  std::printf("song tables %.1f bytes per stored event\n", bytesPerEvent);
  if (argc == 4) {
    // The event table writes its items when asked: time writing them all once, as the toolbox does.
    const auto itemsStart = std::chrono::steady_clock::now();
    std::string item;
    size_t itemBytes = 0;
    for (size_t i = 0; i < document.EventTable.Size(); ++i) {
      item.clear();
      document.EventTable.AppendItem(item, document, i);
      itemBytes += item.size();
    }
    std::printf("writing every event table item once: %.3f s (%zu bytes)\n", Seconds(itemsStart), itemBytes);
  }
  std::printf("ns per event %.1f\n", events ? total * 1e9 / double(events) : 0);
  return 0;
}
