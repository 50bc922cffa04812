#include "compose/event_line.h"

#include <algorithm>

#include "text/format_mask.h"
#include "text/number_text.h"

namespace sonvela {

EventLine MakeEventLine(int64_t time, bool noteOn, int16_t note, int32_t channel) {
  EventLine line;
  line.text = FormatZeros(static_cast<double>(time), "0000000000");
  // The blank before "on" is what puts Note On first at equal times.
  line.text += noteOn ? "  on:nota" : " off:nota";
  AppendNumberText(line.text, note);
  line.text += " canale:";
  AppendNumberText(line.text, channel);
  line.time = time;
  line.noteOn = noteOn;
  line.note = note;
  line.channel = channel;
  return line;
}

std::vector<EventLine> SortedEventLines(const std::vector<ComposedEvent>& events) {
  std::vector<EventLine> lines;
  lines.reserve(events.size() * 2);
  for (const ComposedEvent& event : events) {
    lines.push_back(MakeEventLine(event.start, true, event.note, event.channel));
    lines.push_back(MakeEventLine(event.end, false, event.note, event.channel));
  }
  std::stable_sort(lines.begin(), lines.end(),
                   [](const EventLine& a, const EventLine& b) { return a.text < b.text; });
  return lines;
}

}  // namespace sonvela
