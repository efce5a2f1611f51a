// The helper behind USER32's delay-load stubs (CMakeLists.txt): at a function's first call it
// loads the DLL, finds the function and writes its address into the delay-load address table.
// Linkers place that table in .idata, which binutils 2.44 on (as Windows' own linker) maps
// read-only: mingw-w64's helper writes it directly and crashes there. This one lifts the page's
// protection for each write, so the program works whatever the linker's section flags. Linked as
// an object of the program, it stands in for the runtime library's helper.
#include <windows.h>

#include <delayimp.h>

extern "C" IMAGE_DOS_HEADER __ImageBase;

// A page whose protection cannot be lifted is not written. That costs only time: the table keeps
// the stub's address, so the next call of the function comes here again and finds it again (a
// module handle that was not written is asked of LoadLibraryA again, which has USER32 loaded
// already), where ending the program would take the window away for nothing. The protection is
// restored only after a lift, which gave it.
static void WriteImagePointer(void *at, void *value)
{
    DWORD protection;
    if (!VirtualProtect(at, sizeof value, PAGE_READWRITE, &protection))
        return;
    *(void **)at = value;
    VirtualProtect(at, sizeof value, protection, &protection);
}

extern "C" FARPROC WINAPI __delayLoadHelper2(PCImgDelayDescr descriptor, FARPROC *entry)
{
    BYTE *image = (BYTE *)&__ImageBase;
    HMODULE *slot = (HMODULE *)(image + descriptor->rvaHmod);
    HMODULE module = *slot;
    if (!module) {
        module = LoadLibraryA((LPCSTR)(image + descriptor->rvaDLLName));
        WriteImagePointer(slot, module);
    }
    // The name table runs beside the address table, an entry for each.
    size_t index = entry - (FARPROC *)(image + descriptor->rvaIAT);
    const IMAGE_THUNK_DATA *name = (const IMAGE_THUNK_DATA *)(image + descriptor->rvaINT) + index;
    LPCSTR procedure = IMAGE_SNAP_BY_ORDINAL(name->u1.Ordinal)
                           ? (LPCSTR)IMAGE_ORDINAL(name->u1.Ordinal)
                           : ((const IMAGE_IMPORT_BY_NAME *)(image + name->u1.AddressOfData))->Name;
    FARPROC function = module ? GetProcAddress(module, procedure) : NULL;
    // Without USER32 nothing can be shown, and every ending of the program gives 0.
    if (!function)
        ExitProcess(0);
    WriteImagePointer(entry, (void *)function);
    return function;
}
