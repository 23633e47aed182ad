#include "DynamicRHI.h"
#include "Scalability.h"
#include "Misc/ConfigCacheIni.h"
#include "UnrealEngine.h"
#include "../Core/StandInState.h"

// --- Resolution --------------------------------------------------------------------------------

FSystemResolution GSystemResolution;

void FSystemResolution::RequestResolutionChange(int32 InResX, int32 InResY, EWindowMode::Type InWindowMode)
{
	StandInState::FRecords& Records = StandInState::Records();
	std::lock_guard<std::recursive_mutex> Lock(Records.Mutex);
	Records.ResolutionRequests.Add(StandInTesting::FResolutionRequest{InResX, InResY, InWindowMode});
}

void FSystemResolution::ForceRefresh()
{
	GSystemResolution.bForceRefresh = true;
}

namespace StandInState
{
	void ApplyPendingResolutionChange()
	{
		FRecords& State = Records();
		std::lock_guard<std::recursive_mutex> Lock(State.Mutex);
		if (State.ResolutionRequests.Num() > 0)
		{
			const StandInTesting::FResolutionRequest& Last = State.ResolutionRequests.Last();
			GSystemResolution.ResX = Last.ResX;
			GSystemResolution.ResY = Last.ResY;
			GSystemResolution.WindowMode = Last.WindowMode;
		}
	}
}

// --- Scalability -------------------------------------------------------------------------------

namespace Scalability
{
	namespace
	{
		constexpr int32 MaxQualityLevel = 4; // cinematic

		int32 ClampLevel(int32 Value)
		{
			return FMath::Clamp(Value, 0, MaxQualityLevel);
		}

		FQualityLevels& CurrentLevels()
		{
			static FQualityLevels* Levels = new FQualityLevels();
			return *Levels;
		}
	}

	void FQualityLevels::SetFromSingleQualityLevel(int32 Value)
	{
		const int32 Level = ClampLevel(Value);
		ResolutionQuality = 100.0f;
		ViewDistanceQuality = Level;
		AntiAliasingQuality = Level;
		ShadowQuality = Level;
		GlobalIlluminationQuality = Level;
		ReflectionQuality = Level;
		PostProcessQuality = Level;
		TextureQuality = Level;
		EffectsQuality = Level;
		FoliageQuality = Level;
		ShadingQuality = Level;
		LandscapeQuality = Level;
	}

	int32 FQualityLevels::GetSingleQualityLevel() const
	{
		const int32 Target = ViewDistanceQuality;
		const bool bAllSame = AntiAliasingQuality == Target && ShadowQuality == Target && GlobalIlluminationQuality == Target && ReflectionQuality == Target
			&& PostProcessQuality == Target && TextureQuality == Target && EffectsQuality == Target && FoliageQuality == Target && ShadingQuality == Target
			&& LandscapeQuality == Target;
		return bAllSame ? Target : -1;
	}

	int32 FQualityLevels::GetMinQualityLevel() const
	{
		int32 Min = ViewDistanceQuality;
		for (int32 Level : {AntiAliasingQuality, ShadowQuality, GlobalIlluminationQuality, ReflectionQuality, PostProcessQuality, TextureQuality, EffectsQuality,
				 FoliageQuality, ShadingQuality, LandscapeQuality})
		{
			Min = FMath::Min(Min, Level);
		}
		return Min;
	}

	void FQualityLevels::SetDefaults()
	{
		SetFromSingleQualityLevel(3);
	}

	void FQualityLevels::SetBenchmarkFallback()
	{
		ResolutionQuality = 100.0f;
	}

	void FQualityLevels::SetAntiAliasingQuality(int32 Value) { AntiAliasingQuality = ClampLevel(Value); }
	void FQualityLevels::SetShadowQuality(int32 Value) { ShadowQuality = ClampLevel(Value); }
	void FQualityLevels::SetViewDistanceQuality(int32 Value) { ViewDistanceQuality = ClampLevel(Value); }
	void FQualityLevels::SetPostProcessQuality(int32 Value) { PostProcessQuality = ClampLevel(Value); }
	void FQualityLevels::SetTextureQuality(int32 Value) { TextureQuality = ClampLevel(Value); }
	void FQualityLevels::SetEffectsQuality(int32 Value) { EffectsQuality = ClampLevel(Value); }
	void FQualityLevels::SetFoliageQuality(int32 Value) { FoliageQuality = ClampLevel(Value); }
	void FQualityLevels::SetShadingQuality(int32 Value) { ShadingQuality = ClampLevel(Value); }
	void FQualityLevels::SetReflectionQuality(int32 Value) { ReflectionQuality = ClampLevel(Value); }
	void FQualityLevels::SetGlobalIlluminationQuality(int32 Value) { GlobalIlluminationQuality = ClampLevel(Value); }
	void FQualityLevels::SetLandscapeQuality(int32 Value) { LandscapeQuality = ClampLevel(Value); }

	void SaveState(const FString& IniName)
	{
		const FQualityLevels Levels = CurrentLevels();
		const TCHAR* Section = TEXT("ScalabilityGroups");
		GConfig->SetFloat(Section, TEXT("sg.ResolutionQuality"), Levels.ResolutionQuality, IniName);
		GConfig->SetInt(Section, TEXT("sg.ViewDistanceQuality"), Levels.ViewDistanceQuality, IniName);
		GConfig->SetInt(Section, TEXT("sg.AntiAliasingQuality"), Levels.AntiAliasingQuality, IniName);
		GConfig->SetInt(Section, TEXT("sg.ShadowQuality"), Levels.ShadowQuality, IniName);
		GConfig->SetInt(Section, TEXT("sg.GlobalIlluminationQuality"), Levels.GlobalIlluminationQuality, IniName);
		GConfig->SetInt(Section, TEXT("sg.ReflectionQuality"), Levels.ReflectionQuality, IniName);
		GConfig->SetInt(Section, TEXT("sg.PostProcessQuality"), Levels.PostProcessQuality, IniName);
		GConfig->SetInt(Section, TEXT("sg.TextureQuality"), Levels.TextureQuality, IniName);
		GConfig->SetInt(Section, TEXT("sg.EffectsQuality"), Levels.EffectsQuality, IniName);
		GConfig->SetInt(Section, TEXT("sg.FoliageQuality"), Levels.FoliageQuality, IniName);
		GConfig->SetInt(Section, TEXT("sg.ShadingQuality"), Levels.ShadingQuality, IniName);
		GConfig->SetInt(Section, TEXT("sg.LandscapeQuality"), Levels.LandscapeQuality, IniName);
	}

	FQualityLevels GetQualityLevels()
	{
		return CurrentLevels();
	}

	void SetQualityLevels(const FQualityLevels& QualityLevels, bool bForce)
	{
		{
			StandInState::FRecords& Records = StandInState::Records();
			std::lock_guard<std::recursive_mutex> Lock(Records.Mutex);
			Records.ScalabilityApplications.Add(StandInTesting::FScalabilityApplication{QualityLevels, bForce});
		}
		FQualityLevels Clamped = QualityLevels;
		Clamped.ResolutionQuality = FMath::Clamp(QualityLevels.ResolutionQuality, 10.0f, 100.0f);
		Clamped.SetViewDistanceQuality(QualityLevels.ViewDistanceQuality);
		Clamped.SetAntiAliasingQuality(QualityLevels.AntiAliasingQuality);
		Clamped.SetShadowQuality(QualityLevels.ShadowQuality);
		Clamped.SetGlobalIlluminationQuality(QualityLevels.GlobalIlluminationQuality);
		Clamped.SetReflectionQuality(QualityLevels.ReflectionQuality);
		Clamped.SetPostProcessQuality(QualityLevels.PostProcessQuality);
		Clamped.SetTextureQuality(QualityLevels.TextureQuality);
		Clamped.SetEffectsQuality(QualityLevels.EffectsQuality);
		Clamped.SetFoliageQuality(QualityLevels.FoliageQuality);
		Clamped.SetShadingQuality(QualityLevels.ShadingQuality);
		Clamped.SetLandscapeQuality(QualityLevels.LandscapeQuality);
		CurrentLevels() = Clamped;
	}

	int32 GetEffectsQualityDirect(bool bGameThread)
	{
		(void)bGameThread;
		return CurrentLevels().EffectsQuality;
	}
}

namespace StandInState
{
	void ResetQualityLevels()
	{
		Scalability::CurrentLevels() = Scalability::FQualityLevels();
	}
}

// --- RHI ---------------------------------------------------------------------------------------

namespace
{
	/** A named back end standing in for the real RHI. */
	class FStandInDynamicRHI final : public FDynamicRHI
	{
	public:
		explicit FStandInDynamicRHI(const TCHAR* InName)
			: Name(InName)
		{
		}

		virtual const TCHAR* GetName() override { return *Name; }

		virtual ERHIInterfaceType GetInterfaceType() const override
		{
			if (Name == TEXT("D3D11")) { return ERHIInterfaceType::D3D11; }
			if (Name == TEXT("D3D12")) { return ERHIInterfaceType::D3D12; }
			if (Name == TEXT("Vulkan")) { return ERHIInterfaceType::Vulkan; }
			if (Name == TEXT("Metal")) { return ERHIInterfaceType::Metal; }
			if (Name == TEXT("OpenGL")) { return ERHIInterfaceType::OpenGL; }
			if (Name == TEXT("Null")) { return ERHIInterfaceType::Null; }
			return ERHIInterfaceType::Hidden;
		}

	private:
		FString Name;
	};

	TUniquePtr<FStandInDynamicRHI>& OwnedRHI()
	{
		static TUniquePtr<FStandInDynamicRHI>* Owned = new TUniquePtr<FStandInDynamicRHI>();
		return *Owned;
	}
}

FDynamicRHI* GDynamicRHI = nullptr;

ERHIInterfaceType RHIGetInterfaceType()
{
	return GDynamicRHI ? GDynamicRHI->GetInterfaceType() : ERHIInterfaceType::Hidden;
}

namespace StandInState
{
	void SetDynamicRHIName(const TCHAR* Name)
	{
		GDynamicRHI = nullptr;
		OwnedRHI().Reset(Name ? new FStandInDynamicRHI(Name) : nullptr);
		GDynamicRHI = OwnedRHI().Get();
	}
}
