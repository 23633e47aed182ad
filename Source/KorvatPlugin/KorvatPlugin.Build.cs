using UnrealBuildTool;

public class KorvatPlugin : ModuleRules
{
	public KorvatPlugin(ReadOnlyTargetRules Target) : base(Target)
	{
		PCHUsage = PCHUsageMode.UseExplicitOrSharedPCHs;
		CppStandard = CppStandardVersion.Cpp20;

		// The link to the host is plain C++ in Private/Link; its sources include each other by relative path.
		PrivateIncludePaths.Add(System.IO.Path.Combine(ModuleDirectory, "Private", "Link"));

		PublicDependencyModuleNames.AddRange(new string[]
		{
			"Core",
			"CoreUObject",
			"Engine",
			"InputDevice",
		});

		PrivateDependencyModuleNames.AddRange(new string[]
		{
			"RHI",
			"ApplicationCore",
			"Slate",
			"SlateCore",
			"TextureShare",
		});

		if (Target.bBuildEditor)
		{
			PrivateDependencyModuleNames.AddRange(new string[]
			{
				"UnrealEd",
				"LevelEditor",
			});
		}

		if (Target.Platform == UnrealTargetPlatform.Win64)
		{
			// GUID creation and formatting, ANSI conversion and key mapping of the link's platform layer.
			PublicSystemLibraries.AddRange(new string[] { "ole32.lib", "user32.lib" });
		}
	}
}
