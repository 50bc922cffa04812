// The whole listing, log and event table of one file that holds every kind of event.

#include <gtest/gtest.h>

#include "song/every_event_file.h"
#include "song/test_support.h"

namespace sonvela {
namespace {

using test::EveryEventFile;
using test::Load;
using test::LoadedSong;

// The listing line for line, the summary in the debug log, the unknowns in one message, the stored events
// and the event table.
TEST(EveryEventFile, ListingLogTablesAndEventTable) {
  LoadedSong song;
  Load(song, EveryEventFile(), "every.mid");
  const std::vector<std::string> expectedListing = {
      "         every.mid",
      "         03-07-2026 09:05:01 Quarzani Quarzius",
      "         -------------------------------------------------------------------------------",
      "         Intestazione hex$ (14 Bytes):[4D 54 68 64 00 00 00 06 00 01 00 03 00 60 ]",
      "         -------------------------------------------------------------------------------",
      "         MThd   trovate con Tally: MThd= 1",
      "         MTrk   trovate con Tally: MTrk= 2",
      "         Tracce nell'intestazione: MTrk= 3",
      "         Probabile errore nel file :every.mid!!!!",
      "         -------------------------------------------------------------------------------",
      "         Tipo file midi  : 1",
      "         Numero tracce   : 3",
      "         Tempo (division): &H60  96d",
      "         -------------------------------------------------------------------------------",
      "         Lunghezza reale del file (su disco)  : 437 bytes.",
      "         Lunghezza del file senza intestazione: 423 bytes.",
      "         -------------------------------------------------------------------------------",
      "         Traccia:  1 lunghezza dati:   193   Traccia:  1 lunghezza reale:  201",
      "         Traccia:  2 lunghezza dati:   214   Traccia:  2 lunghezza reale:  222",
      "         Lunghezza tot tracce dati :   407   Lunghezza tot tracce reale :  423   ",
      "         -------------------------------------------------------------------------------",
      "         *******************************************************************************",
      "         Analisi traccia ( 1 ) lunghezza reale = 193",
      "         *******************************************************************************",
      "         Lunghezza nella traccia 1 decimale (4 bytes) = 193--> hex 00 00 00 C1 ",
      "         -------------------------------------------------------------------------------",
      " 1:    1  Time:     0d        0 Seq/Trk Name    7bytes:<Melodia>",
      " 1:    2  Time:     0d        0 Copyright       7bytes:<(c) Noi>",
      " 1:    3  Time:     0d        0 Text var len 11 ciao/mondo",
      " 1:    4  Time:     0d        0 Instr.  Name    6 Flauto",
      " 1:    5  Time:     0d        0 Lyric          la-",
      " 1:    6  Time:     0d        0 Marker          6 Strofa",
      "          Time:     0d        0 Midi ch.prefix  9 speciale**********",
      "          Time:     0d        0 Midi Port      01 02 ",
      " 1:    7  Time:     0d        0 Set tempo &h51  600000d -> BPM=100",
      "          Time:     0d        0 SMPTE Offset     1=ore   2=min   3=sec   4=frame   5=subs",
      " 1:    8  Time:     0d        0 Tempo sigt&h58(Num 6/Den 8) MIDI-clocks\\click=24 32nds\\quarter=8",
      "          Time:     0d        0 Key signature  1 flat scala minore",
      "          Time:     0d        0 Proprietary     2bytes: 41 10 ",
      "          Time:     0d        0 Metaevento non riconosciuto!!!! "
      "&h60****************************************",
      "          Time:     0d        0 SysEx          7E 7F F7 ",
      "          Time:     5d        5 Comando non conosciuto!!!! &h41 "
      "RS=00!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!",
      "         Metaevento non riconosciuto!!!! &h41++++++++++++++++++++++++++++++++++++++++",
      " 1:    9  Time:    10d       15 Nota  on   91 <  <&h3C  60d do   C :3 Vel=&h64 100d>",
      " 1:   10  Time:    10d       25 Nota. on   91 <&h3E  62d re   D :3 Vel=&h50  80d>",
      " 1:   11  Time:    10d       35 Nota.(off) 81 <&h3C  60d do   C :3>",
      " 1:   12  Time:     0d       35 Text var len 0 ",
      " 1:   13  Time:    10d       45 Nota.(off) 81 <&h3E  62d re   D :3>",
      " 1:   14  Time:     0d       45 Nota,(off) 82 0  <&h30  48d do   C :2>",
      " 1:   15  Time:     0d       45 Nota (off) 82 0  <&h30  48d do   C :2>",
      " 1:   16  Time:     0d       45 Nota.[off] 82 <&h31  49d do#  C#:2>",
      " 1:   17  Time:     0d       45 Aftertouch A1 lsb=&h3C 60 msb=&h20 32",
      " 1:   18  Time:     0d       45 Aftertouch A1 lsb=&h3D 61 msb=&h21 33",
      " 1:   19  Time:     0d       45 Controller B1 Byte1=&h07 7d Byte2=&h64 100d",
      " 1:   20  Time:     0d       45 Controller B1 Byte1=&h0A 10d Byte2=&h40 64d",
      " 1:   21  Time:     0d       45 Program change C1 Byte1=&h13 19d",
      " 1:   22  Time:     0d       45 Program change C1 Byte1=&h14 20d",
      " 1:   23  Time:     0d       45 Channel pressure D1 Byte1=&h30 48d",
      " 1:   24  Time:     0d       45 Channel pressure D1 Byte1=&h31 49d",
      " 1:   25  Time:     0d       45 Pitch bend E1 lsb=&h00 0 msb=&h40 64",
      " 1:   26  Time:     0d       45 Pitch bend E1 lsb=&h7F 127 msb=&h7F 127",
      "          Time:   128d      173 Fine traccia.",
      "         -------------------------------------------------------------------------------",
      "          Time:   173d unita' totali nella traccia  1",
      "         -------------------------------------------------------------------------------",
      "         *******************************************************************************",
      "         Analisi traccia ( 2 ) lunghezza reale = 214",
      "         *******************************************************************************",
      "         Lunghezza nella traccia 2 decimale (4 bytes) = 214--> hex 00 00 00 D6 ",
      "         -------------------------------------------------------------------------------",
      " 2:    1  Time:     0d        0 Text var len 200 "
      "kkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkk"
      "kkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkk",
      " 2:    2  Time:     0d        0 Nota  on   99 $  <&h24  36d do   C :1 Vel=&h7F 127d>",
      "          Time:   480d      480 Fine traccia.",
      "         -------------------------------------------------------------------------------",
      "          Time:   480d unita' totali nella traccia  2",
      "         -------------------------------------------------------------------------------"};
  const std::vector<std::string> listing = song.listing();
  ASSERT_EQ(listing.size(), expectedListing.size());
  for (size_t i = 0; i < listing.size(); ++i) EXPECT_EQ(listing[i], expectedListing[i]) << "line " << i + 1;
  EXPECT_EQ(song.document.Listing.ListingPending, "");

  const std::vector<std::string> expectedLog = {"every.mid",
                                                "Metaevento non riconosciuto!!!! &h41",
                                                "***************************************************",
                                                "                Tipo: 1",
                                                "    Numero di tracce: 2",
                                                "                 BPM: 100",
                                                "            Division: 96",
                                                "***************************************************",
                                                "        bpm*division: 9600",
                                                "***************************************************",
                                                "     Tempo piu lungo: 480 nella traccia 2",
                                                "        Forse durata: 3",
                                                "        Canali usati: [ **      *      ]",
                                                "       Totale totali: 653",
                                                "Creato l'eseguibile, pronto a suonare!"};
  EXPECT_EQ(song.logs.Debug.ToVector(), expectedLog);
  EXPECT_EQ(song.messages.shown, std::vector<std::string>{"Meta non riconosciuti: 2"});

  // The summary above reads the song's numbers from the tables; the texts and events are checked here.
  const SongTables& t = song.tables();
  // Texts: one index each, in exactly one of the two tables.
  ASSERT_EQ(t.TextCount, 8);
  EXPECT_EQ(t.TaggedTexts[1], "Sq/Na  1:Melodia");
  EXPECT_EQ(t.TaggedTexts[2], "copy:(c) Noi");
  EXPECT_EQ(t.TextEvents[3], "ciao\r\nmondo");  // stored as it stands
  EXPECT_EQ(t.TaggedTexts[3], "");
  EXPECT_EQ(t.TaggedTexts[4], "Inst:Flauto");
  EXPECT_EQ(t.TaggedTexts[5], "Lyric:la-");
  EXPECT_EQ(t.TaggedTexts[6], "Mark:Strofa");
  EXPECT_EQ(t.TextEvents[8], std::string(200, 'k'));
  // Velocity-0 note-ons become note-offs, with or without running status.
  EXPECT_EQ(t.Event(1, 11).command, 0x81);
  EXPECT_EQ(t.Event(1, 11).data2, 0);
  EXPECT_EQ(t.Event(1, 14).command, 0x82);
  EXPECT_EQ(t.Event(1, 7).command, kMetaTempo);
  EXPECT_EQ(t.Event(1, 7).data1, 100);
  EXPECT_EQ(t.Event(1, 8).data2, 8);

  const EventTableList& table = song.document.EventTable;
  auto item = [&](size_t index) { return table.Item(song.document, index); };
  const std::string sep(1, kEventTableSeparator);
  ASSERT_EQ(table.Size(), 1u + 100 + 1 + 26 + 1 + 2 + 1 + 1 + 2 + 1);
  EXPECT_EQ(item(1), "  1" + sep + " 1>     0d 03 01" + sep + " 2>     0d 01 08" + sep);
  EXPECT_EQ(item(100), "100" + sep + " 1>     0d 00 00" + sep + " 2>     0d 00 00" + sep);
  EXPECT_EQ(item(102), " 1: 1" + sep + "      0d  &H03 &H01 &H00");
  EXPECT_EQ(item(110), " 1: 9" + sep + "     15d  &H91 &H3C &H64");
  EXPECT_EQ(item(128), "Totale unita : 173");
  EXPECT_EQ(item(132), "Riassunto tempi di tutte le tracce:");
  EXPECT_EQ(item(133), "Totale unita traccia  1 : 173");
  EXPECT_EQ(item(135), "Totale totali           : 653");
  EXPECT_EQ(item(table.Size()), "");
}

}  // namespace
}  // namespace sonvela
