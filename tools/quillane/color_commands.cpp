// quillane colors list|show|set|delete: the colour schemes and ANSI palettes of the global
// configuration.
#include <iostream>

#include "config/colors/color_builtins.h"
#include "config/colors/color_lists.h"
#include "config/colors/color_messages.h"
#include "config/global/global_config_instance.h"
#include "quillane/cli.h"
#include "quillane/json.h"
#include "quillane/text_escape.h"

namespace cli {
namespace {

constexpr char kUsage[] =
    "  quillane colors list schemes|palettes\n"
    "  quillane colors show scheme|palette NAME\n"
    "  quillane colors set scheme NAME [--palette P] [--fg RRGGBB[,...]] [--bg RRGGBB[,...]]\n"
    "                                  [--options 0/1,0/1,0/1]\n"
    "  quillane colors set palette NAME RRGGBB,...\n"
    "  quillane colors delete scheme|palette NAME\n"
    "list prints the names in list order, built-ins included. show prints one entry: a scheme's\n"
    "palette, its options (overstrike bold, show underline, enable blink) and its eight\n"
    "foreground and eight background colours, one per text attribute (normal, bold, underline,\n"
    "bold underline, then the same blinking); a palette's sixteen ANSI colours. set creates or\n"
    "replaces an entry and saves: --fg and --bg take one colour for every attribute or eight;\n"
    "what is not given is kept from the entry it replaces (a new scheme is black on white with\n"
    "the first palette and every option on). A palette takes sixteen colours. delete removes an\n"
    "entry that is not built in; schemes that used a deleted palette fall back to \"Standard\".\n";

VRef<GlobalConfig> Shared() {
  GlobalConfig* config = nullptr;
  GetGlobalConfig(&config, -1);
  return VRef<GlobalConfig>(config);
}

std::string Rgb(VColor color) {
  static const char kDigits[] = "0123456789ABCDEF";
  uint32_t rgb = RgbOfColor(color);
  std::string text;
  for (int shift = 20; shift >= 0; shift -= 4) text += kDigits[(rgb >> shift) & 0xF];
  return text;
}

// Loads the shared configuration and says what its colour lists could not read. 0 when usable.
int Open(Context& context, VRef<GlobalConfig>& config) {
  if (int failed = context.CheckStore()) return failed;
  VReportMessageParams unreadable;
  if (GlobalConfigUnreadable(unreadable)) return context.Fail(kExitFailed, unreadable);
  config = Shared();
  for (const ProfileColorsBase* list :
       {static_cast<const ProfileColorsBase*>(&config->colorSchemes),
        static_cast<const ProfileColorsBase*>(&config->ansiPalettes)})
    for (const VUnicodeString& warning : list->GetLoadWarnings())
      std::cerr << "quillane: " << Utf8(warning) << std::endl;
  return kExitOk;
}

int Save(Context& context) {
  VReportMessageParams error;
  if (SaveGlobalConfig(false, error)) return kExitOk;
  return context.Fail(kExitFailed, error);
}

bool IsScheme(const std::string& kind) {
  if (kind == "scheme" || kind == "schemes") return true;
  if (kind == "palette" || kind == "palettes") return false;
  throw UsageError("expected scheme or palette, not " + kind);
}

// "RRGGBB,RRGGBB,...": `count` colours, or one for all when `oneForAll`; else nothing.
std::optional<std::vector<VColor>> ParseColors(const std::string& text, size_t count, bool oneForAll) {
  std::vector<VColor> colors;
  std::u16string wide = Wide(text);
  std::u16string_view rest = wide;
  while (true) {
    size_t comma = rest.find(u',');
    std::u16string_view field = rest.substr(0, comma);
    if (field.size() != 6) return std::nullopt;
    std::optional<VColor> color = vcolors::ColorFromText(field);
    if (!color) return std::nullopt;
    colors.push_back(*color);
    if (comma == std::u16string_view::npos) break;
    rest.remove_prefix(comma + 1);
  }
  if (oneForAll && colors.size() == 1) colors.assign(count, colors[0]);
  if (colors.size() != count) return std::nullopt;
  return colors;
}

int List(Context& context, const std::vector<std::string>& rest) {
  if (rest.size() != 1) throw UsageError("list takes schemes or palettes");
  bool schemes = IsScheme(rest[0]);
  VRef<GlobalConfig> config;
  if (int status = Open(context, config)) return status;
  const ProfileColorsBase& list = schemes ? static_cast<const ProfileColorsBase&>(config->colorSchemes)
                                          : config->ansiPalettes;
  Json result = Json::Array();
  for (const VUnicodeString& name : list.GetNames()) {
    if (context.Json()) result.Push(Utf8(name));
    else std::cout << EscapeText(name) << '\n';
  }
  context.SetResult(std::move(result));
  return kExitOk;
}

int Show(Context& context, const std::vector<std::string>& rest) {
  if (rest.size() != 2) throw UsageError("show takes scheme or palette and a NAME");
  bool schemes = IsScheme(rest[0]);
  VUnicodeString name = Wide(rest[1]);
  VRef<GlobalConfig> config;
  if (int status = Open(context, config)) return status;
  const ProfileColorsBase& list = schemes ? static_cast<const ProfileColorsBase&>(config->colorSchemes)
                                          : config->ansiPalettes;
  if (list.Find(name) == ProfileColorsBase::kNotFound)
    return context.Fail(kExitNotFound, schemes ? kMsgColorNoSuchScheme : kMsgColorNoSuchPalette, {name});
  Json result = Json::Object();
  // The name the list keeps, which may be a built-in's name in another language than the one asked.
  result.Set("name", Utf8(VUnicodeString(vcolors::EntryName(list.GetEntry(list.Find(name))))));
  auto colorArray = [](const auto& colors) {
    Json array = Json::Array();
    for (VColor color : colors) array.Push(Rgb(color));
    return array;
  };
  auto joined = [](const auto& colors) {
    std::string text;
    for (VColor color : colors) text += (text.empty() ? "" : ",") + Rgb(color);
    return text;
  };
  if (schemes) {
    std::optional<ColorSchemeEntry> scheme = config->colorSchemes.GetScheme(name);
    if (!scheme) return context.Fail(kExitFailed, kMsgColorEntryUnreadable, {name});
    result.Set("palette", Utf8(scheme->paletteName));
    result.Set("overstrike_bold", scheme->overstrikeBold != 0);
    result.Set("show_underline", scheme->showUnderline != 0);
    result.Set("enable_blink", scheme->enableBlink != 0);
    result.Set("foreground", colorArray(scheme->foregrounds));
    result.Set("background", colorArray(scheme->backgrounds));
    if (!context.Json()) {
      std::cout << "name\t" << EscapeText(scheme->name) << "\npalette\t" << EscapeText(scheme->paletteName)
                << "\noptions\t" << int(scheme->overstrikeBold != 0) << ','
                << int(scheme->showUnderline != 0) << ',' << int(scheme->enableBlink != 0)
                << "\nforeground\t" << joined(scheme->foregrounds) << "\nbackground\t"
                << joined(scheme->backgrounds) << '\n';
    }
  } else {
    std::optional<AnsiPaletteEntry> palette = config->ansiPalettes.GetPalette(name);
    if (!palette) return context.Fail(kExitFailed, kMsgColorEntryUnreadable, {name});
    result.Set("colors", colorArray(palette->colors));
    if (!context.Json())
      std::cout << "name\t" << EscapeText(palette->name) << "\ncolors\t" << joined(palette->colors) << '\n';
  }
  context.SetResult(std::move(result));
  return kExitOk;
}

int SetScheme(Context& context, const std::vector<std::string>& given) {
  ParsedArgs args = ParseArgs(given, {"--palette", "--fg", "--bg", "--options"}, {});
  if (args.positionals.size() != 1) throw UsageError("set scheme takes one NAME");
  VUnicodeString name = Wide(args.positionals[0]);
  if (!vcolors::IsValidEntryName(name)) return context.Fail(kExitUsage, kMsgColorBadName, {name});
  std::optional<std::vector<VColor>> fg, bg;
  if (args.values.count("--fg")) {
    fg = ParseColors(args.values["--fg"], kAttributeCount, true);
    if (!fg) return context.Fail(kExitUsage, kMsgColorBadColors, {Wide(args.values["--fg"]), u"8"});
  }
  if (args.values.count("--bg")) {
    bg = ParseColors(args.values["--bg"], kAttributeCount, true);
    if (!bg) return context.Fail(kExitUsage, kMsgColorBadColors, {Wide(args.values["--bg"]), u"8"});
  }
  std::optional<std::array<uint8_t, 3>> options;
  if (args.values.count("--options")) {
    const std::string& text = args.values["--options"];
    if (text.size() != 5 || text[1] != ',' || text[3] != ',')
      return context.Fail(kExitUsage, kMsgColorBadOptions, {Wide(text)});
    options.emplace();
    for (size_t i = 0; i < 3; ++i) {
      char c = text[i * 2];
      if (c != '0' && c != '1') return context.Fail(kExitUsage, kMsgColorBadOptions, {Wide(text)});
      (*options)[i] = static_cast<uint8_t>(c - '0');
    }
  }
  VRef<GlobalConfig> config;
  if (int status = Open(context, config)) return status;
  ProfileColorSchemeListV2& schemes = config->colorSchemes;
  ColorSchemeEntry scheme;
  scheme.name = name;
  scheme.paletteName = config->ansiPalettes.GetDefaultPaletteName();
  scheme.foregrounds.fill(MakeColor(0, 0, 0));
  scheme.backgrounds.fill(MakeColor(0xFF, 0xFF, 0xFF));
  if (schemes.Find(name) != ProfileColorsBase::kNotFound) {
    std::optional<ColorSchemeEntry> stored = schemes.GetScheme(name);
    // A stored entry that cannot be read is replaced only by a whole new one.
    bool whole = fg && bg && options && args.values.count("--palette");
    if (!stored && !whole) return context.Fail(kExitFailed, kMsgColorEntryUnreadable, {name});
    if (stored) scheme = *stored;
  }
  if (args.values.count("--palette")) {
    VUnicodeString palette = Wide(args.values["--palette"]);
    size_t index = config->ansiPalettes.Find(palette);
    if (index == ProfileColorsBase::kNotFound)
      return context.Fail(kExitNotFound, kMsgColorNoSuchPalette, {palette});
    // Named as the list keeps it, which may be a built-in's name in another language.
    scheme.paletteName = VUnicodeString(vcolors::EntryName(config->ansiPalettes.GetEntry(index)));
  }
  if (fg) std::copy(fg->begin(), fg->end(), scheme.foregrounds.begin());
  if (bg) std::copy(bg->begin(), bg->end(), scheme.backgrounds.begin());
  if (options) {
    scheme.overstrikeBold = (*options)[0];
    scheme.showUnderline = (*options)[1];
    scheme.enableBlink = (*options)[2];
  }
  schemes.SetScheme(scheme);
  return Save(context);
}

int SetPalette(Context& context, const std::vector<std::string>& rest) {
  if (rest.size() != 2) throw UsageError("set palette takes NAME and sixteen colours");
  VUnicodeString name = Wide(rest[0]);
  if (!vcolors::IsValidEntryName(name)) return context.Fail(kExitUsage, kMsgColorBadName, {name});
  std::optional<std::vector<VColor>> colors = ParseColors(rest[1], kPaletteColorCount, false);
  if (!colors) return context.Fail(kExitUsage, kMsgColorBadColors, {Wide(rest[1]), u"16"});
  VRef<GlobalConfig> config;
  if (int status = Open(context, config)) return status;
  AnsiPaletteEntry palette;
  palette.name = name;
  std::copy(colors->begin(), colors->end(), palette.colors.begin());
  config->ansiPalettes.SetPalette(palette);
  return Save(context);
}

int Set(Context& context, const std::vector<std::string>& rest) {
  if (rest.empty()) throw UsageError("set takes scheme or palette");
  std::vector<std::string> more(rest.begin() + 1, rest.end());
  return IsScheme(rest[0]) ? SetScheme(context, more) : SetPalette(context, more);
}

int Delete(Context& context, const std::vector<std::string>& rest) {
  if (rest.size() != 2) throw UsageError("delete takes scheme or palette and a NAME");
  bool schemes = IsScheme(rest[0]);
  VUnicodeString name = Wide(rest[1]);
  bool builtIn = schemes ? vcolors::IsBuiltInSchemeName(name) : vcolors::IsBuiltInPaletteName(name);
  if (builtIn) return context.Fail(kExitFailed, kMsgColorBuiltInRefused, {name});
  VRef<GlobalConfig> config;
  if (int status = Open(context, config)) return status;
  bool removed = false;
  if (schemes) {
    removed = config->colorSchemes.RemoveEntry(name);
  } else {
    VUnicodeString current = config->currentAnsiPalette.Current();
    removed = vcolors::DeletePalette(config->ansiPalettes, config->colorSchemes, current, name);
    if (removed) config->currentAnsiPalette = current;
  }
  if (!removed)
    return context.Fail(kExitNotFound, schemes ? kMsgColorNoSuchScheme : kMsgColorNoSuchPalette, {name});
  return Save(context);
}

int RunColors(Context& context) {
  if (context.args.empty()) throw UsageError("colors needs a sub-command");
  std::string sub = context.args[0];
  std::vector<std::string> rest(context.args.begin() + 1, context.args.end());
  if (sub == "list") return List(context, rest);
  if (sub == "show") return Show(context, rest);
  if (sub == "set") return Set(context, rest);
  if (sub == "delete") return Delete(context, rest);
  throw UsageError("unknown colors sub-command " + sub);
}

CommandRegistration registration({"colors", "list, show and change colour schemes and palettes", kUsage,
                                  &RunColors});

}  // namespace
}  // namespace cli
