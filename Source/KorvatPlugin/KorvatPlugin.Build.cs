using UnrealBuildTool;

public class KorvatPlugin : ModuleRules
{
	public KorvatPlugin(ReadOnlyTargetRules Target) : base(Target)
	{
		PCHUsage = PCHUsageMode.UseExplicitOrSharedPCHs;
		CppStandard = CppStandardVersion.Cpp20;

		// The link to the host is plain C++ in Private/Link; its sources include each other by relative path.
		PrivateIncludePaths.Add(System.IO.Path.Combine(ModuleDirectory, "Private", "Link"));
		// The link is plain C++ outside the engine too; inside it, it takes the Windows headers the engine's way.
		PrivateDefinitions.Add("KORVAT_LINK_INSIDE_ENGINE=1");

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
			"TextureShareCore",
		});

		// The frame number of a share object is read through the TextureShare API and the share object's
		// core data, which the TextureShare plug-in keeps in the Private folders of its two modules.
		PrivateIncludePaths.AddRange(new string[]
		{
			System.IO.Path.Combine(GetModuleDirectory("TextureShare"), "Private"),
			System.IO.Path.Combine(GetModuleDirectory("TextureShareCore"), "Private"),
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
