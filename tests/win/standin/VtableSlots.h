#pragma once
// Slot numbers of the members the stand-in shell fills in its hand-made vtables, taken from the
// system headers' C declarations so they cannot drift from what a vtable-calling client expects.
#ifdef __cplusplus
extern "C" {
#endif

extern const int zarn_slot_ShellDispatch_Windows;
extern const int zarn_slot_ShellWindows_get_Count;
extern const int zarn_slot_ShellWindows_Item;
extern const int zarn_slot_WebBrowser2_get_Document;
extern const int zarn_slot_WebBrowser2_get_LocationName;
extern const int zarn_slot_WebBrowser2_get_LocationURL;
extern const int zarn_slot_WebBrowser2_get_HWND;
extern const int zarn_slot_ShellFolderViewDual_get_Folder;
extern const int zarn_slot_Folder_get_Title;
extern const int zarn_slot_Folder_Items;
extern const int zarn_slot_FolderItems_Item;
extern const int zarn_slot_FolderItem_get_Name;
extern const int zarn_slot_FolderItem_get_Path;
extern const int zarn_slot_FolderItem_get_IsFolder;
// The largest vtable among the interfaces served.
extern const int zarn_slot_count;

#ifdef __cplusplus
}
#endif
