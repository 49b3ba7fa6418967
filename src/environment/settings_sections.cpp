#include "environment/settings_sections.h"

namespace {

constexpr uint32_t kGlobalOrSessions = kImportExportGlobal | kImportExportSessions;

constexpr VSettingsSection kSections[] = {
    {u"Security", 0, VSettingsSectionKind::Security},
    {u"Global", kImportExportGlobal, VSettingsSectionKind::Global},
    {u"Sessions", kImportExportSessions, VSettingsSectionKind::Sessions},
    {u"Firewalls", kGlobalOrSessions, VSettingsSectionKind::Firewalls},
    {u"Keywords", kImportExportSessions, VSettingsSectionKind::WholeKey},
    {u"ButtonBarV5", kGlobalOrSessions, VSettingsSectionKind::WholeKey},
    {u"Color Schemes", kGlobalOrSessions, VSettingsSectionKind::WholeKey},
    {u"FileTypes", kImportExportGlobal, VSettingsSectionKind::FileTypes},
    {u"SynchronizeDB", kImportExportSessions, VSettingsSectionKind::WholeKey},
    {u"Filters", kGlobalOrSessions, VSettingsSectionKind::WholeKey},
    {u"ScheduledTasks", kImportExportTasks, VSettingsSectionKind::WholeKey},
    {u"Files", 0, VSettingsSectionKind::Files},
};

}  // namespace

std::span<const VSettingsSection> SettingsSections() { return kSections; }
