// Appearance: the colour scheme (edited and made in the Color Scheme dialog, which the dialog
// that hangs this page connects), the character encoding and line drawing, the cursor, and the
// keyword list the session highlights with its style.
#include <cmath>

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "config/colors/color_builtins.h"
#include "config/database/session_database.h"
#include "config/database/session_database_instance.h"
#include "config/global/global_config.h"
#include "config/highlight/highlight_messages.h"
#include "config/session/session_config.h"
#include "marrowby/font_chooser.h"
#include "marrowby/message_box.h"
#include "marrowby/qt_text.h"
#include "marrowby/ui_messages.h"
#include "ui/session_pages/session_page_rules.h"
#include "ui/session_pages/session_page_texts.h"
#include "ui/session_pages/session_pages.h"

using namespace session_page_text;

namespace {

constexpr const char16_t* kColorScheme = u"Color Scheme";
constexpr const char16_t* kKeywordSet = u"Keyword Set";
constexpr const char16_t* kCursorColor = u"Cursor Color";

// Encodings offered; the field also takes any other name the session holds or the user types.
const char* const kEncodings[] = {"UTF-8",      "ISO-8859-1", "ISO-8859-2",  "ISO-8859-5",
                                  "ISO-8859-7", "ISO-8859-9", "ISO-8859-15", "Windows-1252",
                                  "KOI8-R",     "Shift_JIS",  "EUC-JP",      "EUC-KR",
                                  "GB18030",    "Big5"};

// Colours are stored as 0x00BBGGRR.
QColor FromStored(unsigned value) {
  return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF);
}
unsigned ToStored(const QColor& color) {
  return static_cast<unsigned>(color.red()) | (static_cast<unsigned>(color.green()) << 8) |
         (static_cast<unsigned>(color.blue()) << 16);
}

QString NoKeywordListText() {
  VReportMessageParams text(kMsgNoKeywordList);
  return MessageText(text);
}

}  // namespace

SessionAppearancePage::SessionAppearancePage(const SessionPageContext& context)
    : SessionPageBase(kAppearanceTitle, context) {}

void SessionAppearancePage::Build(QVBoxLayout* layout) {
  auto* form = new QFormLayout;
  scheme_ = BindComboText(new QComboBox(this), kColorScheme);
  editSchemeButton_ = new QPushButton(PageText(kEdit), this);
  newSchemeButton_ = new QPushButton(PageText(kNew), this);
  editSchemeButton_->setObjectName(QStringLiteral("edit scheme"));
  newSchemeButton_->setObjectName(QStringLiteral("new scheme"));
  AddFieldRow(form, kColorSchemeLabel, scheme_, {editSchemeButton_, newSchemeButton_});
  auto* encoding = new QComboBox(this);
  encoding->setEditable(true);
  for (const char* name : kEncodings) encoding->addItem(QString::fromLatin1(name));
  BindComboText(encoding, u"Output Transformer Name");
  form->addRow(PageText(kEncodingLabel), encoding);
  layout->addLayout(form);

  auto* fonts = new QGridLayout;
  auto* normalButton = new QPushButton(PageText(kFontButton), this);
  auto* narrowButton = new QPushButton(PageText(kNarrowFontButton), this);
  normalButton->setObjectName(QStringLiteral("Normal Font v2"));
  narrowButton->setObjectName(QStringLiteral("Narrow Font v2"));
  normalLabel_ = new QLabel(this);
  narrowLabel_ = new QLabel(this);
  QCheckBox* useNarrow = NewCheck(kUseNarrowFont, u"Use Narrow Font");
  fonts->addWidget(normalButton, 0, 0);
  fonts->addWidget(normalLabel_, 0, 1, 1, 2);
  fonts->addWidget(narrowButton, 1, 0);
  fonts->addWidget(narrowLabel_, 1, 1);
  fonts->addWidget(useNarrow, 1, 2);
  fonts->setColumnStretch(1, 1);
  layout->addLayout(fonts);
  Depend(useNarrow, narrowButton);
  for (auto [button, narrow] : {std::pair{normalButton, false}, std::pair{narrowButton, true}}) {
    connect(button, &QPushButton::clicked, this, [this, narrow = narrow] {
      const VLogFont& font = narrow ? narrowFont_ : normalFont_;
      VChosenFont choice{ToQString(font.GetFaceName()),
                         static_cast<int>(std::lround(FontPoints(font) * 10)),
                         font.weight >= 600 ? 700 : 400, font.italic != 0};
      if (ChooseFontW(this, choice, true)) ChooseFont(narrow, VFontFromChoice(choice));
    });
  }
  layout->addWidget(NewCheck(kUnicodeLineDrawing, u"Use Unicode Line Drawing"));

  auto* cursor = new QFormLayout;
  AddNumberComboRow(cursor, kCursorStyleLabel, u"Cursor Style",
                    {{kCursorBlock, 0}, {kCursorUnderline, 1}, {kCursorVerticalBar, 2}});
  useCursorColor_ = NewCheck(kUseCursorColor, u"Use Cursor Color");
  cursorColorButton_ = new QPushButton(PageText(kChooseColor), this);
  cursorColorButton_->setObjectName(QStringLiteral("Cursor Color"));
  cursor->addRow(useCursorColor_, cursorColorButton_);
  Depend(useCursorColor_, cursorColorButton_);
  ReadSetting(kCursorColor);
  cursor->addRow(NewCheck(kBlinkingCursor, u"Blinking Cursor"));
  auto* cursorGroup = new QGroupBox(PageText(kCursorGroup), this);
  cursorGroup->setLayout(cursor);
  layout->addWidget(cursorGroup);

  auto* keywords = new QFormLayout;
  keywords_ = new QComboBox(this);
  keywords_->setObjectName(ToQString(kKeywordSet));
  ReadSetting(kKeywordSet);
  editKeywordsButton_ = new QPushButton(PageText(kEditKeywords), this);
  AddFieldRow(keywords, kKeywordListLabel, keywords_, {editKeywordsButton_});
  auto* style = new QHBoxLayout;
  style->addWidget(NewCheck(kHighlightReverse, u"Highlight Reverse Video"));
  style->addWidget(NewCheck(kHighlightBold, u"Highlight Bold"));
  style->addWidget(NewCheck(kHighlightColor, u"Highlight Color"));
  keywords->addRow(style);
  auto* keywordGroup = new QGroupBox(PageText(kKeywordsGroup), this);
  keywordGroup->setLayout(keywords);
  layout->addWidget(keywordGroup);

  connect(editSchemeButton_, &QPushButton::clicked, this, [this] {
    QString name = scheme_->currentText();
    if (editScheme && editScheme(this, name, false)) FillSchemes(name);
  });
  connect(newSchemeButton_, &QPushButton::clicked, this, [this] {
    QString name = askSchemeName ? askSchemeName(this)
                                 : QInputDialog::getText(this, PageText(kNewSchemeTitle),
                                                         PageText(kNewSchemeName));
    if (!name.trimmed().isEmpty()) NewScheme(name);
  });
  connect(editKeywordsButton_, &QPushButton::clicked, this, [this] {
    QString name = keywords_->currentData().toString();
    if (editKeywordList && editKeywordList(this, name)) FillKeywordLists(name);
  });
  connect(keywords_, &QComboBox::currentIndexChanged, this, [this] { RefreshEnabling(); });
  connect(cursorColorButton_, &QPushButton::clicked, this, [this] {
    QColor chosen = QColorDialog::getColor(FromStored(cursorColor_), this);
    if (!chosen.isValid()) return;
    cursorColor_ = ToStored(chosen);
    ShowCursorColor();
  });
}

void SessionAppearancePage::OnInitDialog() {
  SessionPageBase::OnInitDialog();
  FillSchemes(ToQString(settings_.GetText(kColorScheme)));
  FillKeywordLists(ToQString(settings_.GetText(kKeywordSet)));
  cursorColor_ = static_cast<unsigned>(settings_.GetInt(kCursorColor));
  ShowCursorColor();
  if (context_.session) {
    normalFont_ = context_.session->terminal.normalFont.Current();
    narrowFont_ = context_.session->terminal.narrowFont.Current();
  }
  ShowFonts();
  RefreshEnabling();
}

void SessionAppearancePage::FillSchemes(const QString& select) {
  QStringList names;
  if (context_.global) {
    const ProfileColorSchemeListV2& schemes = context_.global->colorSchemes;
    for (const VUnicodeString& name : schemes.GetNames()) names << ToQString(name);
    // The built-in schemes can be chosen before the list keeps a copy of them.
    for (const ColorSchemeEntry& builtIn : vcolors::BuiltInSchemes())
      if (schemes.Find(builtIn.name) == ProfileColorSchemeListV2::kNotFound)
        names << ToQString(builtIn.name);
  }
  // The session's scheme stays selectable even when the list no longer has it.
  if (!select.isEmpty() && !names.contains(select)) names << select;
  scheme_->clear();
  scheme_->addItems(names);
  scheme_->setCurrentIndex(names.indexOf(select));
}

void SessionAppearancePage::FillKeywordLists(const QString& select) {
  keywords_->clear();
  keywords_->addItem(NoKeywordListText(), QString());
  SessionDatabase* host = GetSessionDatabase();
  SessionDatabase local;
  SessionDatabase& database = host ? *host : local;
  VStringArray lists = database.ListItems(ItemCollection::KeywordLists);
  for (const VUnicodeString& name : lists) keywords_->addItem(ToQString(name), ToQString(name));
  int index = select.isEmpty() || SessionDatabase::IsNoKeywordListName(FromQString(select))
                  ? 0
                  : keywords_->findData(select);
  if (index < 0) {
    keywords_->addItem(select, select);
    index = keywords_->count() - 1;
  }
  keywords_->setCurrentIndex(index);
}

void SessionAppearancePage::ShowCursorColor() {
  QPixmap swatch(16, 16);
  swatch.fill(FromStored(cursorColor_));
  cursorColorButton_->setIcon(QIcon(swatch));
}

void SessionAppearancePage::ChooseFont(bool narrow, const QFont& chosen) {
  VLogFont& font = narrow ? narrowFont_ : normalFont_;
  font = ChosenFont(font, FromQString(chosen.family()), chosen.pointSizeF(), chosen.bold(),
                    chosen.italic());
  ShowFonts();
}

void SessionAppearancePage::ShowFonts() {
  for (auto [label, font] : {std::pair{normalLabel_, &normalFont_}, std::pair{narrowLabel_, &narrowFont_}}) {
    label->setText(CatalogueText(kFontShown, nullptr,
                                 {font->GetFaceName(),
                                  FromQString(QString::number(FontPoints(*font)))}));
  }
}

bool SessionAppearancePage::NewScheme(const QString& name) {
  QString trimmed = name.trimmed();
  if (context_.global) {
    if (RuleResult failure = CheckNewSchemeName(context_.global->colorSchemes, FromQString(trimmed))) {
      VReportMessageParams message(failure->id, VGetUiMessageModule());
      for (const VUnicodeString& insert : failure->inserts) message.AddInsert(insert);
      VMessageBox(this, message, kMbOk | kMbIconError);
      scheme_->setFocus();
      return false;
    }
  }
  if (!editScheme || !editScheme(this, trimmed, true)) return false;
  FillSchemes(trimmed);
  return true;
}

void SessionAppearancePage::UpdateEnabling() {
  bool writable = !context_.readOnly;
  editSchemeButton_->setEnabled(writable && editScheme && scheme_->currentIndex() >= 0);
  newSchemeButton_->setEnabled(writable && context_.global);
  keywords_->setEnabled(settings_.Has(kKeywordSet));
  editKeywordsButton_->setEnabled(writable && editKeywordList && keywords_->currentIndex() > 0);
}

void SessionAppearancePage::SaveExtra() {
  settings_.Set(kKeywordSet, FromQString(keywords_->currentData().toString()));
  settings_.Set(kCursorColor, static_cast<int>(cursorColor_));
}

void SessionAppearancePage::AfterApply() {
  TerminalConfig& terminal = context_.session->terminal;
  bool fontsChanged = !(terminal.normalFont.Current() == normalFont_) ||
                      !(terminal.narrowFont.Current() == narrowFont_);
  if (fontsChanged) {
    terminal.normalFont = normalFont_;
    terminal.narrowFont = narrowFont_;
  }
  if (context_.appearanceChanged && (settings_.IsChanged() || fontsChanged))
    *context_.appearanceChanged = true;
}
