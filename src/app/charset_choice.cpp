#include "app/charset_choice.h"

#include <QActionGroup>
#include <QSettings>

#include "text/charsets.h"

namespace sonvela {

namespace {

constexpr const char* kCharsetKey = "texts/charset";

QSettings Settings() {
  return QSettings(QSettings::NativeFormat, QSettings::UserScope, "Sonvela", "Sonvela");
}

}  // namespace

void ChooseStartCharset(TextDecoder& texts, Logs& logs) {
  if (const std::string fromEnvironment = CharsetSetting(); !fromEnvironment.empty()) {
    if (texts.Choose(fromEnvironment)) return;
    DebugLog(logs, std::string(kCharsetVariable) + "=\"" + fromEnvironment +
                       "\" is not a charset Sonvela knows: ignored.");
  }
  texts.Choose(Settings().value(kCharsetKey).toString().toStdString());
}

void ChooseAndKeepCharset(TextDecoder& texts, const std::string& name) {
  if (texts.Choose(name)) Settings().setValue(kCharsetKey, QString::fromStdString(texts.Chosen()));
}

void AddCharsetChoices(QMenu& menu, const TextDecoder& texts,
                       const std::function<void(std::string)>& choose) {
  auto* group = new QActionGroup(&menu);
  const auto add = [&](std::string_view label, std::string_view name) {
    QAction* action = menu.addAction(QString::fromUtf8(label.data(), static_cast<qsizetype>(label.size())));
    action->setCheckable(true);
    action->setChecked(texts.Chosen() == name);
    group->addAction(action);
    QObject::connect(action, &QAction::triggered, &menu,
                     [choose, name = std::string(name)] { choose(name); });
  };
  add(kAutomaticCharset, kAutomaticCharset);
  for (const CharsetChoice& choice : CommonCharsets()) add(choice.Label, choice.Converter);
}

}  // namespace sonvela
