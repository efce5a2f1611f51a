// Launch core: the invocation link, the stored settings, the autostart
// whitelist and the start of the engine.
#ifndef KELVRA_LAUNCH_H
#define KELVRA_LAUNCH_H

#include <windows.h>

#include "base/base.h"

enum {
    HOST_CAPACITY = 256,
    ENGINE_PATH_CAPACITY = MAX_PATH,
    PARAMETERS_CAPACITY = 256,
    WHITELIST_ADDRESS_CAPACITY = 261,
    DEFAULT_PORT = 27960,
    // What is read of the main window's Server address and Port fields.
    ADDRESS_FIELD_CAPACITY = 255,
    PORT_FIELD_CAPACITY = 6,
    // A host, ":" and a port: the full address the autostart compares.
    ADDRESS_CAPACITY = HOST_CAPACITY + PORT_FIELD_CAPACITY
};

// A server's address: host:port, or the host alone without a port. False
// when it does not fit.
bool ComposeAddress(WCHAR *address, size_t capacity, const WCHAR *host, const WCHAR *port);

// The server named by the link the program was started with.
struct LaunchTargetRecord {
    WCHAR host[HOST_CAPACITY];
    USHORT port;
};
extern LaunchTargetRecord LaunchTarget;

void ParseInvocationUrl(const char *text);
void FilterHostName();

// What the user keeps between runs under the settings key.
struct LaunchSettingsRecord {
    WCHAR enginePath[ENGINE_PATH_CAPACITY];
    WCHAR parameterTemplate[PARAMETERS_CAPACITY];
};
extern LaunchSettingsRecord LaunchSettings;
extern const WCHAR DefaultParameterTemplate[];
// The settings key's values of the engine path and the parameter template.
const WCHAR EnginePathValue[] = L"enginepath", ParametersValue[] = L"parameters";

void LoadLaunchSettings();
bool SaveLaunchSetting(const WCHAR *valueName, const WCHAR *text); // false: the reason as the last error

// The autostart whitelist: a singly linked list, always extended at the front.
struct WhitelistEntry {
    WhitelistEntry *next;
    WCHAR address[WHITELIST_ADDRESS_CAPACITY];
};
extern WhitelistEntry *Whitelist;
// The whitelist key's values: address0, address1, ... up to an empty end marker.
const WCHAR WhitelistKeyPath[] = SETTINGS_KEY_PATH L"\\whitelist", WhitelistValueFormat[] = L"address%u";

// Loads the stored list at start-up; a list that another launcher is saving
// is waited for briefly, and not loaded at all rather than loaded in part.
void LoadWhitelist();
void FreeWhitelist();
// False when the entry could not be allocated; the list is as it was.
bool PushWhitelistEntry(WhitelistEntry **list, const WCHAR *address);
void FreeWhitelistEntries(WhitelistEntry **list);

enum WhitelistStore {
    WHITELIST_STORED,
    WHITELIST_UNCHANGED, // refused; the stored list is whole as it was
    WHITELIST_DAMAGED    // refused half-way, and the former list could not be put back
};
// Merges the edits with the stored list, read afresh, and saves the result,
// which becomes Whitelist; the read, the merge and the write are one step for
// every launcher of the session. When refused, the reason is the last error
// and Whitelist stays the list the edits are measured against.
WhitelistStore StoreWhitelistEdits(const WhitelistEntry *edited);

// Composing the engine's parameter line and starting it.
bool ExpandAddressPlaceholder(WCHAR *parameters, const WCHAR *host, const WCHAR *port);
void LaunchEngine(const WCHAR *enginePath, const WCHAR *parameters);
void TryAutostart();

// The main window's four fields as the user typed them, each read within
// its capacity, for the Launch button.
struct LaunchFields {
    WCHAR address[ADDRESS_FIELD_CAPACITY];
    WCHAR port[PORT_FIELD_CAPACITY];
    WCHAR enginePath[ENGINE_PATH_CAPACITY];
    WCHAR parameters[PARAMETERS_CAPACITY];
};
// Checks the fields, stores the parameters and starts the engine, then ends
// the process; returns only when the user is to correct a field.
void OnLaunchCommand(LaunchFields *typed);

#endif
