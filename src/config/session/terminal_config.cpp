// The member table of a session's terminal part and the rules that a plain row cannot say.
#include "config/session/terminal_config.h"

#include "config/parts/emulation_table.h"
#include "config/global/global_config.h"
#include "platform/desktop_settings.h"

const Tn3270Model kTn3270Models[4] = {
    {u"IBM-3278-2", 24, 80},
    {u"IBM-3278-3", 32, 80},
    {u"IBM-3278-4", 43, 80},
    {u"IBM-3278-5", 27, 132},
};

namespace {

constexpr const char16_t* kXterm256Color = u"Xterm-256color";
constexpr const char16_t* kOlderColumnSwitching = u"Enable 80/132 Column Switching";
constexpr const char16_t* kEnableXterm256Color = u"Enable Xterm-256color";
constexpr const char16_t* kTerminalFace = u"Lucida Console";
// When neither view size follows the window, the window follows the view.
constexpr int kResizeModeFixedView = 2;

}  // namespace

QL_MEMBER_TABLE(TerminalConfig, TERMINAL_CONFIG_MEMBERS)

void TerminalConfig::OnBeforeLoad(const VProfileKey*) { clearTerminalType_ = false; }

void TerminalConfig::OnAfterLoad(const VProfileKey*) {
  // An emulation this installation does not have (or a name nobody knows) becomes Xterm; the
  // older spelling "SCO-ANSI" is read as the current one.
  VUnicodeString known = FindEmulation(emulation.Current());
  emulation = known.empty() ? VUnicodeString(kEmulationXterm) : known;

  if (clearTerminalType_) terminalType = VUnicodeString();

  // A custom key map file works only through the alternate keyboard.
  if (vtext::EqualsNoCase(keymapName.Current(), u"Custom")) useAlternateKeyboard = true;

  // A 3270 screen is the model's, whatever the stored size says.
  if (vtext::EqualsNoCase(emulation.Current(), kEmulationTn3270)) {
    const Tn3270Model* model = &kTn3270Models[0];
    for (const Tn3270Model& candidate : kTn3270Models) {
      if (vtext::EqualsNoCase(terminalType.Current(), candidate.terminalType)) model = &candidate;
    }
    terminalType = VUnicodeString(model->terminalType);
    rows = model->rows;
    cols = model->cols;
  }
}

void TerminalConfig::DefaultAnsiColors(VProfileCustomColors& value, const VProfileKey*) {
  value = GlobalConfig::StandardAnsiColors();
}

void TerminalConfig::DefaultResizeMode(VProfile<int>& value, const VProfileKey*) {
  value = (!syncViewRows.current && !syncViewCols.current) ? kResizeModeFixedView : 0;
}

void TerminalConfig::DefaultFont(VProfileLogFont& value, const VProfileKey*) {
  VLogFont font;
  font.height = -13;         // 10 points on a 96-dot screen
  font.weight = 400;         // normal
  font.pitchAndFamily = 49;  // fixed pitch, modern family
  font.SetFaceName(fontFamily.Current());
  value = font;
}

void TerminalConfig::DefaultUnicodeLineDrawing(VProfile<bool>& value, const VProfileKey*) {
  value = vdesktop::FontHasLineDrawing(normalFont.GetFaceName());
}

void TerminalConfig::DefaultColumnSwitching(VProfile<bool>& value, const VProfileKey* key) {
  VDword older = 1;
  value = !(key && key->ReadDword(kOlderColumnSwitching, older)) || older != 0;
}

void TerminalConfig::DefaultXterm256Color(VProfile<bool>& value, const VProfileKey* key) {
  value = false;
  VDword stored = 0;
  if (key && key->ReadDword(kEnableXterm256Color, stored)) return;
  // Before the flag existed, the colours were asked for with the terminal type.
  if (vtext::EqualsNoCase(terminalType.Current(), kXterm256Color)) {
    value = true;
    clearTerminalType_ = true;
  }
}
