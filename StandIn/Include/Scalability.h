// Scalability quality levels. SetQualityLevels records what it was asked (for tests) and makes the
// clamped levels current.
#pragma once

#include "CoreMinimal.h"

namespace Scalability
{
	struct FQualityLevels
	{
		float ResolutionQuality;
		int32 ViewDistanceQuality;
		int32 AntiAliasingQuality;
		int32 ShadowQuality;
		int32 GlobalIlluminationQuality;
		int32 ReflectionQuality;
		int32 PostProcessQuality;
		int32 TextureQuality;
		int32 EffectsQuality;
		int32 FoliageQuality;
		int32 ShadingQuality;
		int32 LandscapeQuality;

		float CPUBenchmarkResults;
		float GPUBenchmarkResults;
		TArray<float> CPUBenchmarkSteps;
		TArray<float> GPUBenchmarkSteps;

		/** bSetDefaults false leaves the groups unset, for static-init variables. */
		FQualityLevels(bool bSetDefaults = true)
			: ResolutionQuality(100.0f)
			, ViewDistanceQuality(0)
			, AntiAliasingQuality(0)
			, ShadowQuality(0)
			, GlobalIlluminationQuality(0)
			, ReflectionQuality(0)
			, PostProcessQuality(0)
			, TextureQuality(0)
			, EffectsQuality(0)
			, FoliageQuality(0)
			, ShadingQuality(0)
			, LandscapeQuality(0)
			, CPUBenchmarkResults(-1.0f)
			, GPUBenchmarkResults(-1.0f)
		{
			if (bSetDefaults)
			{
				SetDefaults();
			}
		}

		bool operator==(const FQualityLevels& Other) const
		{
			return ResolutionQuality == Other.ResolutionQuality && ViewDistanceQuality == Other.ViewDistanceQuality && AntiAliasingQuality == Other.AntiAliasingQuality
				&& ShadowQuality == Other.ShadowQuality && GlobalIlluminationQuality == Other.GlobalIlluminationQuality && ReflectionQuality == Other.ReflectionQuality
				&& PostProcessQuality == Other.PostProcessQuality && TextureQuality == Other.TextureQuality && EffectsQuality == Other.EffectsQuality
				&& FoliageQuality == Other.FoliageQuality && ShadingQuality == Other.ShadingQuality && LandscapeQuality == Other.LandscapeQuality;
		}

		bool operator!=(const FQualityLevels& Other) const { return !(*this == Other); }

		/** Sets every group to Value: 0 low, 1 medium, 2 high, 3 epic, 4 cinematic (clamped). */
		ENGINE_API void SetFromSingleQualityLevel(int32 Value);
		/** The level shared by every group, or -1 when they differ (custom). */
		ENGINE_API int32 GetSingleQualityLevel() const;
		ENGINE_API int32 GetMinQualityLevel() const;
		/** Epic (3) everywhere, full resolution. */
		ENGINE_API void SetDefaults();
		ENGINE_API void SetBenchmarkFallback();
		ENGINE_API void SetAntiAliasingQuality(int32 Value);
		ENGINE_API void SetShadowQuality(int32 Value);
		ENGINE_API void SetViewDistanceQuality(int32 Value);
		ENGINE_API void SetPostProcessQuality(int32 Value);
		ENGINE_API void SetTextureQuality(int32 Value);
		ENGINE_API void SetEffectsQuality(int32 Value);
		ENGINE_API void SetFoliageQuality(int32 Value);
		ENGINE_API void SetShadingQuality(int32 Value);
		ENGINE_API void SetReflectionQuality(int32 Value);
		ENGINE_API void SetGlobalIlluminationQuality(int32 Value);
		ENGINE_API void SetLandscapeQuality(int32 Value);
	};

	/** The quality levels currently in force. */
	ENGINE_API FQualityLevels GetQualityLevels();
	/** Applies QualityLevels (each group clamped to 0..4, resolution to 10..100). */
	ENGINE_API void SetQualityLevels(const FQualityLevels& QualityLevels, bool bForce = false);
	ENGINE_API int32 GetEffectsQualityDirect(bool bGameThread);
	/** Saves the levels in force to the "ScalabilityGroups" section of the named configuration file. */
	ENGINE_API void SaveState(const FString& IniName);
}
