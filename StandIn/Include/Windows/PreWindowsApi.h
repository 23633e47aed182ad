// Saves the engine macros that the Windows headers redefine; PostWindowsApi.h restores them.
// (No include guard: it pairs with each inclusion of PostWindowsApi.h.)
#pragma push_macro("MAX_uint8")
#pragma push_macro("MAX_uint16")
#pragma push_macro("MAX_uint32")
#pragma push_macro("MAX_int32")
#pragma push_macro("TEXT")
#pragma push_macro("TRUE")
#pragma push_macro("FALSE")

// Let winnt.h define its own TEXT, unless it was included before.
#ifndef _WINNT_
	#undef TEXT
#endif
