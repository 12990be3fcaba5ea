// The product's entry in the list of removable programs, and the removal of its keys.
#ifndef HANDOFF_REGISTRY_ENTRIES_H
#define HANDOFF_REGISTRY_ENTRIES_H

// Writes DisplayName, UninstallString and GroupName of the Harvelon uninstall entry from SetupState.
void RegisterUninstallEntry();
// Reads GroupName back into SetupState, then deletes the four keys of the product in order.
void RemoveRegistryEntries();

#endif  // HANDOFF_REGISTRY_ENTRIES_H
