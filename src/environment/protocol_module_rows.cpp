#include "environment/protocol_module_rows.h"

#include "environment/products.h"

namespace {

constexpr int kProductTunnel = 7;

constexpr ProtocolModuleRow kRows[] = {
    {kProductOstrel, u"Telnet", u"Telnet", nullptr},
    {kProductOstrel, u"RLogin", u"RLogin", nullptr},
    {kProductOstrel, u"Serial", u"Serial", nullptr},
    {kProductOstrel, u"TAPI", u"TAPI", nullptr},
    {kProductOstrel, u"Marks", u"Marks", nullptr},
    {kProductOstrel, u"Raw", u"Raw", nullptr},
    {kProductKarvell, u"SSH2", u"SSH2", nullptr},
    {kProductKarvell, u"SSH1", u"SSH1", u"SSH2"},
    {kProductKarvell, u"Telnet", u"Telnet", nullptr},
    {kProductKarvell, u"Telnet/SSL", u"Telnet/TLS", u"TelnetSSL"},
    {kProductKarvell, u"RLogin", u"RLogin", nullptr},
    {kProductKarvell, u"Serial", u"Serial", nullptr},
    {kProductKarvell, u"TAPI", u"TAPI", nullptr},
    {kProductKarvell, u"Marks", u"Marks", nullptr},
    {kProductKarvell, u"Raw", u"Raw", nullptr},
    {kProductLumbrel, u"SFTP", u"SFTP", nullptr},
    {kProductLumbrel, u"FTP", u"FTP", nullptr},
    {kProductLumbrel, u"FTP/SSL (implicit)", u"FTP/TLS (implicit)", u"FTPSSL"},
    {kProductLumbrel, u"FTP/SSL (explicit)", u"FTP/TLS (explicit)", u"FTPSSL"},
    {kProductLumbrel, u"SCP", u"SCP", nullptr},
    {kProductSkellan, u"SFTP", u"SFTP", nullptr},
    {kProductSkellan, u"FTP", u"FTP", nullptr},
    {kProductSkellan, u"FTP/SSL (implicit)", u"FTP/TLS (implicit)", u"FTPSSL"},
    {kProductSkellan, u"FTP/SSL (explicit)", u"FTP/TLS (explicit)", u"FTPSSL"},
    {kProductSkellan, u"SCP", u"SCP", nullptr},
    {kProductTunnel, u"SSH2", u"SSH2", nullptr},
    {kProductWyrmhold, u"SSH2", u"SSH2", nullptr},
};

}  // namespace

std::span<const ProtocolModuleRow> ProtocolModuleRows() { return kRows; }

VUnicodeString ProtocolModuleFileName(const ProtocolModuleRow& row) {
  VUnicodeString name(row.moduleName ? row.moduleName : row.protocolName);
  name += u".so";
  return name;
}

bool IsTlsProtocol(std::u16string_view protocolName) {
  return vtext::EqualsNoCase(protocolName, u"Telnet/SSL") ||
         vtext::EqualsNoCase(protocolName, u"FTP/SSL (implicit)") ||
         vtext::EqualsNoCase(protocolName, u"FTP/SSL (explicit)");
}
