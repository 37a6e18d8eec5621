/* A DLL that someone dropped beside the program. The end-to-end tests copy it there under the
 * name of each DLL the program loads: when it is loaded, it appends its own file name to
 * "planted_loads.txt" in its folder and refuses to load, so that nothing of it runs on. */

#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID reserved) {
    (void)reserved;
    if (reason != DLL_PROCESS_ATTACH) {
        return TRUE;
    }
    wchar_t path[MAX_PATH];
    const DWORD length = GetModuleFileNameW(self, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) {
        return FALSE;
    }
    wchar_t* name = path;
    for (wchar_t* p = path; *p; ++p) {
        if (*p == L'\\' || *p == L'/') {
            name = p + 1;
        }
    }
    char line[MAX_PATH + 2];
    const int size = WideCharToMultiByte(CP_UTF8, 0, name, -1, line, MAX_PATH, NULL, NULL);
    static const wchar_t kMarker[] = L"planted_loads.txt";
    if (size <= 0 || (name - path) + (int)(sizeof kMarker / sizeof kMarker[0]) > MAX_PATH) {
        return FALSE;
    }
    line[size - 1] = '\n';
    lstrcpyW(name, kMarker);
    const HANDLE marker = CreateFileW(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                      NULL, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    if (marker != INVALID_HANDLE_VALUE) {
        DWORD written = 0;
        WriteFile(marker, line, (DWORD)size, &written, NULL);
        CloseHandle(marker);
    }
    return FALSE;
}
