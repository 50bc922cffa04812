#include "app/lyric_line_menu.h"

namespace sonvela {

void FillLyricLineMenu(QMenu& menu, bool karaokeShown, const std::function<void()>& toggleKaraoke) {
  // The key is named after a tab, as a menu shows shortcuts; the main window holds the key itself.
  QAction* karaoke = menu.addAction(QStringLiteral("Finestra karaoke\t") +
                                    QKeySequence(kKaraokeKey).toString(QKeySequence::NativeText));
  karaoke->setCheckable(true);
  karaoke->setChecked(karaokeShown);
  QObject::connect(karaoke, &QAction::triggered, &menu, [toggleKaraoke] { toggleKaraoke(); });
}

}  // namespace sonvela
