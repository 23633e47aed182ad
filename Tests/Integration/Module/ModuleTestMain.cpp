// The runtime module's test program. Started with --child-module it plays an Unreal process started by the
// host instead (see RunChildModule).
#include "ModuleTestSupport.h"

#include <gtest/gtest.h>

#include <cstring>

int main(int Argc, char** Argv)
{
	if (Argc > 1 && std::strcmp(Argv[1], Korvat::ModuleTesting::ChildModuleFlag) == 0)
	{
		return Korvat::ModuleTesting::RunChildModule();
	}
	::testing::InitGoogleTest(&Argc, Argv);
	return RUN_ALL_TESTS();
}
