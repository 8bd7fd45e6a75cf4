#include <stddef.h>
#include <windows.h>
#include <exdisp.h>
#include <shldisp.h>

#include "VtableSlots.h"

#define SLOT(iface, member) ((int)(offsetof(iface##Vtbl, member) / sizeof(void*)))
#define SIZE(iface) ((int)(sizeof(iface##Vtbl) / sizeof(void*)))
#define MAX(a, b) ((a) > (b) ? (a) : (b))

const int zarn_slot_ShellDispatch_Windows = SLOT(IShellDispatch, Windows);
const int zarn_slot_ShellWindows_get_Count = SLOT(IShellWindows, get_Count);
const int zarn_slot_ShellWindows_Item = SLOT(IShellWindows, Item);
const int zarn_slot_WebBrowser2_get_Document = SLOT(IWebBrowser2, get_Document);
const int zarn_slot_WebBrowser2_get_LocationName = SLOT(IWebBrowser2, get_LocationName);
const int zarn_slot_WebBrowser2_get_LocationURL = SLOT(IWebBrowser2, get_LocationURL);
const int zarn_slot_WebBrowser2_get_HWND = SLOT(IWebBrowser2, get_HWND);
const int zarn_slot_ShellFolderViewDual_get_Folder = SLOT(IShellFolderViewDual, get_Folder);
const int zarn_slot_Folder_get_Title = SLOT(Folder, get_Title);
const int zarn_slot_Folder_Items = SLOT(Folder, Items);
const int zarn_slot_FolderItems_Item = SLOT(FolderItems, Item);
const int zarn_slot_FolderItem_get_Name = SLOT(FolderItem, get_Name);
const int zarn_slot_FolderItem_get_Path = SLOT(FolderItem, get_Path);
const int zarn_slot_FolderItem_get_IsFolder = SLOT(FolderItem, get_IsFolder);
const int zarn_slot_count =
    MAX(MAX(MAX(SIZE(IShellDispatch), SIZE(IShellWindows)), MAX(SIZE(IWebBrowser2), SIZE(IShellFolderViewDual))),
        MAX(MAX(SIZE(Folder), SIZE(FolderItems)), SIZE(FolderItem)));
