// Change Passphrase in the main window: the passphrase is changed by the next start of the host,
// which asks for the current one and the new one and carries every secret over while nothing
// else is using them. The user is asked whether to do so, and the answer is saved at once.
#pragma once

class QWidget;

// Asks, records the answer in the global configuration ("Change Config Passphrase") and saves
// it; a save that fails is shown. Returns whether a change was asked for and saved.
bool VRequestPassphraseChange(QWidget* parent);
