#pragma once
// Loading songs from bytes in tests, with recorded message boxes, and one hand-built file that holds every
// event and meta kind the reader knows, and some it does not.

#include <sstream>
#include <string>
#include <vector>

#include "files/load_song.h"
#include "song/analyse_song.h"
#include "song/event_table.h"
#include "song/song_document.h"
#include "support/fake_ports.h"
#include "support/midi_builder.h"
#include "text/logs.h"
#include "text/number_text.h"

namespace sonvela::test {

inline const LocalDateTime kTestTime{2026, 3, 7, 9, 5, 1};

struct LoadedSong {
  SongDocument document;
  Logs logs;
  RecordedMessages messages;
  const SongTables& tables() const { return document.Tables; }
  std::vector<std::string> listing() const { return document.Listing.Lines.ToVector(); }
};

// Analyses the bytes as the load of a file with this name would, then lists the event table.
inline void Load(LoadedSong& song, const std::string& bytes, const std::string& name = "song.mid",
                 const SongReaderParts& parts = {}) {
  ClearSongDocument(song.document);
  song.document.FileName = name;
  song.document.Tables.SongFileData = bytes;
  AnalyseSong(
      {name, song.document.Tables, song.document.Listing, song.logs, song.messages, kTestTime, parts});
  ListEventTable(song.document, song.logs, song.messages);
}

// Everything a load leaves, one fact a line: the tables, the texts, the messages, the log and the listing.
inline std::string Dump(const LoadedSong& song) {
  const SongTables& t = song.tables();
  std::ostringstream out;
  out << "tracks " << t.TrackCount << " division " << t.Division << " bpm " << t.TempoBpm << " longest "
      << t.LongestTrack << " of " << t.LongestTrackTicks << " used [" << t.UsedChannels << "] texts "
      << t.TextCount << " time signature " << t.TimeSigNumerator << "/" << t.TimeSigDenominator << "\n";
  for (int32_t track = 1; track <= t.TrackCount; ++track) {
    out << "track " << track << " ends " << t.TrackTicks[static_cast<size_t>(track)] << ":";
    for (int32_t i = 1; i <= t.TrackEventCount(track); ++i) {
      const TrackEvent& e = t.Event(track, i);
      out << " " << e.command << "," << e.data1 << "," << e.data2 << "@" << e.tick;
    }
    out << "\n";
  }
  for (size_t i = 1; i <= static_cast<size_t>(t.TextCount); ++i)
    out << "text " << i << " [" << t.TextEvents.at(i) << "] [" << t.TaggedTexts.at(i) << "]\n";
  for (const std::string& message : song.messages.shown) out << "message " << message << "\n";
  for (const std::string& line : song.logs.Debug.ToVector()) out << "log " << line << "\n";
  for (const std::string& line : song.listing()) out << "listing " << line << "\n";
  out << "pending [" << song.document.Listing.ListingPending << "]\n";
  std::string printable;
  for (const char c : out.str()) {
    const auto byte = static_cast<unsigned char>(c);
    printable += byte == '\n' || (byte >= 32 && byte < 127) ? std::string(1, c) : "\\x" + HexByte(byte);
  }
  return printable;
}

inline std::string EveryEventFile() {
  std::string one;
  one += Meta(0, 0x03, "Melodia");
  one += Meta(0, 0x02, "(c) Noi");
  one += Meta(0, 0x01, "ciao\r\nmondo");
  one += Meta(0, 0x04, "Flauto");
  one += Meta(0, 0x05, "la-");
  one += Meta(0, 0x06, "Strofa");
  one += Bytes({0x00, 0xFF, 0x20, 0x01, 0x09});                          // channel prefix 9
  one += Bytes({0x00, 0xFF, 0x21, 0x01, 0x02});                          // port 2
  one += Bytes({0x00, 0xFF, 0x51, 0x03, 0x09, 0x27, 0xC0});              // 600000 us: 100 BPM
  one += Bytes({0x00, 0xFF, 0x54, 0x05, 0x01, 0x02, 0x03, 0x04, 0x05});  // SMPTE offset
  one += Bytes({0x00, 0xFF, 0x58, 0x04, 0x06, 0x03, 0x18, 0x08});        // 6/8
  one += Bytes({0x00, 0xFF, 0x59, 0x02, 0xFF, 0x01});                    // 1 flat, minor
  one += Meta(0, 0x7F, Bytes({0x41, 0x10}));                             // for one sequencer only
  one += Meta(0, 0x60, "xyz");                                           // unknown meta kind
  one += Bytes({0x00, 0xF0, 0x03, 0x7E, 0x7F, 0xF7});                    // SysEx
  one += Bytes({0x05, 0x41});                                            // no running status: unknown command
  one += Bytes({0x0A, 0x91, 0x3C, 0x64});                                // note on, channel 2
  one += Bytes({0x0A, 0x3E, 0x50});                                      // running note on
  one += Bytes({0x0A, 0x3C, 0x00});                                      // running velocity 0
  one += Bytes({0x00, 0xFF, 0x01, 0x00});                                // an empty text keeps running status
  one += Bytes({0x0A, 0x3E, 0x00});                                      // running status across the meta
  one += Bytes({0x00, 0x92, 0x30, 0x00});                                // note on velocity 0, channel 3
  one += Bytes({0x00, 0x82, 0x30, 0x40});                                // note off
  one += Bytes({0x00, 0x31, 0x41});                                      // running note off
  one += Bytes({0x00, 0xA1, 0x3C, 0x20, 0x00, 0x3D, 0x21});              // key pressure, then running
  one += Bytes({0x00, 0xB1, 0x07, 0x64, 0x00, 0x0A, 0x40});              // controller, then running
  one += Bytes({0x00, 0xC1, 0x13, 0x00, 0x14});                          // program, then running
  one += Bytes({0x00, 0xD1, 0x30, 0x00, 0x31});                          // channel pressure, then running
  one += Bytes({0x00, 0xE1, 0x00, 0x40, 0x00, 0x7F, 0x7F});              // pitch bend, then running
  one += Bytes({0x81, 0x00, 0xFF, 0x2F, 0x00});                          // end of track after 128 ticks
  one += Bytes({0x00, 0x90, 0x3C, 0x64});                                // after the end: never read

  std::string two;
  two += Meta(0, 0x01, std::string(200, 'k'));  // length 0x81 0x48
  two += Bytes({0x00, 0x99, 0x24, 0x7F});
  two += Bytes({0x83, 0x60, 0xFF, 0x2F, 0x00});  // ends at 480
  // The header claims three tracks; there are two.
  return Header(1, 3, 96) + Track(one) + Track(two);
}

}  // namespace sonvela::test
