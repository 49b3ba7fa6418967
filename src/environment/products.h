// Which application of the family is running.
#pragma once

#include "platform/unicode_string.h"

constexpr int kProductOstrel = 1;
constexpr int kProductKarvell = 3;
constexpr int kProductLumbrel = 6;
constexpr int kProductWyrmhold = 8;
constexpr int kProductSkellan = 9;
constexpr int kProductUnknown = -1;

// The product id of an application name, compared without regard to case.
int GetProductIdFromName(const VUnicodeString& appName);
// "Karvell", "Lumbrel", "Wyrmhold", "Skellan", or empty.
VUnicodeString GetProductNameFromId(int productId);

// The id derived from the application name at start-up.
int GetDerivedAppProductID();
void SetDerivedAppProductID(int productId);
// The id the host stored (defaults to the derived one).
int GetCurrentAppProductID();
void SetCurrentAppProductID(int productId);
// 9 when the derived id is 9, else 6.
int GetTransferAppProductID();
