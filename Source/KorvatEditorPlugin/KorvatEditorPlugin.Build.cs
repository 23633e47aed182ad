using UnrealBuildTool;

public class KorvatEditorPlugin : ModuleRules
{
	public KorvatEditorPlugin(ReadOnlyTargetRules Target) : base(Target)
	{
		PCHUsage = PCHUsageMode.UseExplicitOrSharedPCHs;
		CppStandard = CppStandardVersion.Cpp20;

		// Field descriptors and the field-sync interface come from the runtime module's link header.
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
