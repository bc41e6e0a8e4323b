#include "workspace/ui/ConfigPageGeneral.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardPaths>

#include "platform/UpDownControl.h"
#include "platform/framework/PromptSeam.h"
#include "resources/Art.h"
#include "ui/SharedFont.h"
#include "workspace/SettingsStore.h"

namespace {
using G = CConfigPageGeneral;
constexpr int kLabel = -1;

const ControlDef kControls[] = {
    {kLabel, ControlKind::GroupBox, "Scripts", 7, 4, 310, 90},
    {kLabel, ControlKind::Static, "Open generated script files with", 14, 16, 160, 8},
    {G::kScriptReader, ControlKind::Edit, "", 14, 26, 273, 13},
    {G::kScriptReaderBrowse, ControlKind::PushButton, "...", 291, 26, 18, 13},
    {kLabel, ControlKind::Static, "Table name delimiters", 14, 46, 84, 8},
    {G::kTablePrefix, ControlKind::Edit, "", 100, 44, 18, 13},
    {G::kTablePostfix, ControlKind::Edit, "", 122, 44, 18, 13},
    {G::kTableUseAlways, ControlKind::CheckBox, "Use Always", 148, 45, 60, 10},
    {kLabel, ControlKind::Static, "Field name delimiters", 14, 62, 84, 8},
    {G::kFieldPrefix, ControlKind::Edit, "", 100, 60, 18, 13},
    {G::kFieldPostfix, ControlKind::Edit, "", 122, 60, 18, 13},
    {G::kFieldUseAlways, ControlKind::CheckBox, "Use Always", 148, 61, 60, 10},
    {kLabel, ControlKind::Static, "Batch Script Separator", 14, 78, 84, 8},
    {G::kBatchSeparator, ControlKind::Edit, "", 100, 76, 40, 13},
    {kLabel, ControlKind::Static, "Split words for query formatting", 7, 99, 160, 8},
    {G::kSplitWords, ControlKind::Edit, "", 7, 109, 310, 13},
    {kLabel, ControlKind::Static, "Fields to exclude", 7, 126, 160, 8},
    {G::kFieldsToExclude, ControlKind::Edit, "", 7, 136, 310, 13},
    {kLabel, ControlKind::GroupBox, "History", 7, 153, 62, 47},
    {kLabel, ControlKind::Static, "Cache size", 14, 165, 50, 8},
    {G::kCacheSize, ControlKind::Edit, "", 14, 176, 46, 13},
    {kLabel, ControlKind::Static, "Cursor Location Type", 78, 157, 86, 8},
    {G::kCursorLocation, ControlKind::DropDownList, "", 78, 167, 86, 13},
    {kLabel, ControlKind::Static, "Icon", 172, 157, 40, 8},
    {G::kIcon, ControlKind::DropDownList, "", 172, 167, 64, 13},
    {kLabel, ControlKind::Static, "Font", 78, 188, 22, 8},
    {G::kFont, ControlKind::Static, "", 102, 186, 185, 13},
    {G::kFontBrowse, ControlKind::PushButton, "...", 291, 186, 18, 13},
};

// The order the list shows them in, with the icon ids of MainIconIds().
constexpr const char* kIconNames[] = {"yellow", "green", "red", "blue"};

}  // namespace

CConfigPageGeneral::CConfigPageGeneral(SettingsStore& settings, FrameIconAccess icon, QWidget* parent)
    : ConfigPage(settings, parent), icon_(std::move(icon)) {
  setObjectName(QStringLiteral("ConfigPageGeneral"));
  const DialogUnits units;
  controls_.Create(this, kControls, units);
  setFixedSize(units.ToPixels(QSize(324, 207)));

  auto* cache = As<QLineEdit>(kCacheSize);
  cacheSpin_ = new UpDownControl(this);
  cacheSpin_->SetBuddy(cache);  // digits only
  cacheSpin_->AlignInsideBuddy();

  auto* font = As<QLabel>(kFont);
  font->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  font->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);

  connect(As<QPushButton>(kScriptReaderBrowse), &QPushButton::clicked, this, &CConfigPageGeneral::BrowseScriptReader);
  connect(As<QPushButton>(kFontBrowse), &QPushButton::clicked, this, &CConfigPageGeneral::BrowseFont);
}

void CConfigPageGeneral::DoDataExchange(ExchangeDirection direction) {
  ExchangeText(settings_, exchange_, direction, kScriptReader, "General", "ScriptFileReader");
  ExchangeText(settings_, exchange_, direction, kCacheSize, "History", "CacheSize");
  ExchangeText(settings_, exchange_, direction, kTablePrefix, "General", "TableNamePrefix");
  ExchangeText(settings_, exchange_, direction, kTablePostfix, "General", "TableNamePostfix");
  ExchangeCheck(settings_, exchange_, direction, kTableUseAlways, "General", "TableNamePrefixUseAlways");
  ExchangeText(settings_, exchange_, direction, kFieldPrefix, "General", "FieldNamePrefix");
  ExchangeText(settings_, exchange_, direction, kFieldPostfix, "General", "FieldNamePostfix");
  ExchangeCheck(settings_, exchange_, direction, kFieldUseAlways, "General", "FieldNamePrefixUseAlways");
  ExchangeText(settings_, exchange_, direction, kSplitWords, "Format", "SplitWords");
  ExchangeText(settings_, exchange_, direction, kFieldsToExclude, "General", "FieldsToExclude");
  ExchangeText(settings_, exchange_, direction, kBatchSeparator, "General", "BatchSeparator");
  ExchangeCombo(settings_, exchange_, direction, kCursorLocation, "???|adUseNone|adUseServer|adUseClient", "General",
                "CursorLocationType");
  // The font itself changed when it was picked; the setting follows only with the page's values.
  if (direction == ExchangeDirection::Store) settings_.SetText("General", "Font", SharedDisplayFont().ToText());
}

void CConfigPageGeneral::OnInitPage() {
  ShowFontName();
  cacheSpin_->SetRange(1, 1000);

  auto* icons = As<QComboBox>(kIcon);
  const std::vector<int> ids = MainIconIds();
  const int current = icon_.current ? icon_.current() : 0;
  for (std::size_t i = 0; i < ids.size() && i < std::size(kIconNames); ++i) {
    icons->addItem(MainIcon(ids[i]), QString::fromLatin1(kIconNames[i]), ids[i]);
    if (ids[i] == current) icons->setCurrentIndex(static_cast<int>(i));
  }
  if (icons->currentIndex() >= 0 && icons->itemData(icons->currentIndex()).toInt() != current)
    icons->setCurrentIndex(-1);
  // Connected after filling, so that only the person's choice changes the icon.
  connect(icons, &QComboBox::currentIndexChanged, this, [this, icons](int index) {
    if (index >= 0 && icon_.set) icon_.set(icons->itemData(index).toInt());
  });
}

void CConfigPageGeneral::ShowFontName() {
  As<QLabel>(kFont)->setText(QString::fromStdString(SharedDisplayFont().ToDisplayName(true)));
}

void CConfigPageGeneral::BrowseScriptReader() {
  auto* edit = As<QLineEdit>(kScriptReader);
  FileDialogRequest request;
  request.parent = window();
  request.mode = FileDialogRequest::Mode::Open;
  request.fileMustExist = true;
  // A bare program name ("xdg-open") starts the dialog where that program lives.
  const QString typed = edit->text().trimmed();
  const QString found = typed.isEmpty() || typed.contains('/') ? QString() : QStandardPaths::findExecutable(typed);
  request.initialName = (found.isEmpty() ? typed : found).toStdString();
  // Programs here carry no extension: any file may be one.
  request.filter = "Programs (*)|*|All files (*.*)|*.*||";
  if (std::optional<std::string> path = Prompts().FileDialog(request)) edit->setText(QString::fromStdString(*path));
}

void CConfigPageGeneral::BrowseFont() {
  if (SharedDisplayFont().ChooseWithDialog(window(), true, false)) ShowFontName();
}
