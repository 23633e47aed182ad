#include "ModuleLibrary.h"

#if defined(_WIN32)
	#ifndef WIN32_LEAN_AND_MEAN
		#define WIN32_LEAN_AND_MEAN
	#endif
	#include <windows.h>
#else
	#include <dlfcn.h>
#endif

namespace StandInModuleLibrary
{
	void* Open(const std::string& Utf8Path, std::string& OutError)
	{
#if defined(_WIN32)
		const int WideLength = ::MultiByteToWideChar(CP_UTF8, 0, Utf8Path.c_str(), -1, nullptr, 0);
		std::wstring WidePath(WideLength > 0 ? static_cast<size_t>(WideLength) : 1u, L'\0');
		if (WideLength > 0)
		{
			::MultiByteToWideChar(CP_UTF8, 0, Utf8Path.c_str(), -1, WidePath.data(), WideLength);
		}
		HMODULE Handle = ::LoadLibraryW(WidePath.c_str());
		if (!Handle)
		{
			OutError = "LoadLibraryW failed with error " + std::to_string(::GetLastError());
		}
		return reinterpret_cast<void*>(Handle);
#else
		void* Handle = ::dlopen(Utf8Path.c_str(), RTLD_NOW | RTLD_LOCAL);
		if (!Handle)
		{
			const char* Error = ::dlerror();
			OutError = Error ? Error : "dlopen failed";
		}
		return Handle;
#endif
	}
}
