using UnrealBuildTool;

public class KorvatEditorPlugin : ModuleRules
{
	public KorvatEditorPlugin(ReadOnlyTargetRules Target) : base(Target)
	{
		PCHUsage = PCHUsageMode.UseExplicitOrSharedPCHs;
		CppStandard = CppStandardVersion.Cpp20;

		// The runtime module's module object (for the field-list functions it exports) and its link header (field
		// descriptors and the field-sync interface).
		PrivateIncludePaths.Add(System.IO.Path.Combine(ModuleDirectory, "..", "KorvatPlugin", "Private"));
		PrivateIncludePaths.Add(System.IO.Path.Combine(ModuleDirectory, "..", "KorvatPlugin", "Private", "Link"));

		PublicDependencyModuleNames.AddRange(new string[]
		{
			"Core",
			"CoreUObject",
			"Engine",
		});

		PrivateDependencyModuleNames.AddRange(new string[]
		{
			"Slate",
			"SlateCore",
			"BlueprintGraph",
			"KismetCompiler",
			"PropertyEditor",
			"UnrealEd",
			"KorvatPlugin",
		});
	}
}
