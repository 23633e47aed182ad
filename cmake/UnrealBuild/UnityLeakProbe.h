// Included after every source file of a unity blob: fails the build when a file leaves behind a macro
// that changes the meaning of engine code in the files after it. (No include guard: it runs each time.)
#if defined(min) || defined(max)
	#error "A min or max macro leaked out of the file before this point (Windows headers without NOMINMAX?)"
#endif
#if defined(GetObject) || defined(GetClassName) || defined(GetMessage) || defined(SendMessage) || \
	defined(GetCommandLine) || defined(DeleteFile) || defined(GetCurrentTime) || defined(Yield) || \
	defined(UpdateResource) || defined(InterlockedIncrement)
	#error "A Windows macro over an engine name leaked out of the file before this point (windows.h included without the engine's wrapper?)"
#endif
#if defined(WINDOWS_PLATFORM_TYPES_GUARD) || defined(INT) || defined(UINT) || defined(DWORD) || defined(FLOAT)
	#error "A Windows type region was left open by the file before this point (AllowWindowsPlatformTypes.h without HideWindowsPlatformTypes.h)"
#endif
#if !defined(TEXT)
	#error "The engine's TEXT macro was lost in the file before this point"
#endif
static_assert(sizeof(TEXT("x")[0]) == sizeof(TCHAR), "TEXT no longer makes TCHAR literals after the file before this point");
