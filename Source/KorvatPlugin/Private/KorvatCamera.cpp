// The host's camera and projection: what Blueprints read of them, and how they reach the first player and
// the viewports that render.
#include "KorvatPluginModule.h"

#include "Camera/CameraComponent.h"
#include "Camera/PlayerCameraManager.h"
#include "Engine/Engine.h"
#include "Engine/GameEngine.h"
#include "Engine/World.h"
#include "GameFramework/Pawn.h"
#include "GameFramework/PlayerController.h"
#include "Slate/SceneViewport.h"

#if WITH_EDITOR
#include "Editor.h"
#include "Editor/EditorEngine.h"
#include "IAssetViewport.h"
#include "LevelEditor.h"
#include "SLevelViewport.h"
#endif

#include "KorvatViewExtension.h"

namespace KorvatCamera
{
/** The host sends matrices as 16 floats, row by row; the engine's matrices are double. */
FMatrix ToEngineMatrix(const Korvat::UE4::Matrix16& Elements)
{
	FMatrix Matrix;
	for (int32 Row = 0; Row < 4; ++Row)
	{
		for (int32 Column = 0; Column < 4; ++Column)
		{
			Matrix.M[Row][Column] = static_cast<double>(Elements[Row * 4 + Column]);
		}
	}
	return Matrix;
}

/** The host's axes (x right, y up, z back, metres) to Unreal's (x forward, y right, z up, centimetres). */
const FMatrix& HostToEngineAxes()
{
	static const FMatrix Axes = FMatrix(FPlane(100.0, 0.0, 0.0, 0.0), FPlane(0.0, 0.0, 100.0, 0.0), FPlane(0.0, -100.0, 0.0, 0.0),
		FPlane(0.0, 0.0, 0.0, 1.0));
	return Axes;
}
} // namespace KorvatCamera

FKorvatPlugin& FKorvatPlugin::GetLoaded()
{
	static const FName ModuleName(TEXT("KorvatPlugin"));
	return FModuleManager::GetModuleChecked<FKorvatPlugin>(ModuleName);
}

FKorvatPlugin* FKorvatPlugin::FindLoaded()
{
	static const FName ModuleName(TEXT("KorvatPlugin"));
	if (!FModuleManager::Get().IsModuleLoaded(ModuleName))
	{
		return nullptr;
	}
	return &FModuleManager::LoadModuleChecked<FKorvatPlugin>(ModuleName);
}

FTransform FKorvatPlugin::GetKorvatCameraTransform() const
{
	const FMatrix Camera = KorvatCamera::ToEngineMatrix(Link.Inbound.Camera);
	// Before the host sent a camera its matrix is all zero; the identity stands in for its inverse.
	bool bNoRotation = true;
	for (int32 Row = 0; Row < 3; ++Row)
	{
		for (int32 Column = 0; Column < 3; ++Column)
		{
			bNoRotation = bNoRotation && FMath::Abs(Camera.M[Row][Column]) <= 1e-8;
		}
	}
	const FMatrix CameraInverse = bNoRotation ? FMatrix::Identity : Camera.Inverse();
	const FMatrix Placement = CameraInverse * KorvatCamera::HostToEngineAxes();

	FVector AxisX(Placement.M[0][0], Placement.M[0][1], Placement.M[0][2]);
	FVector AxisY(Placement.M[1][0], Placement.M[1][1], Placement.M[1][2]);
	FVector AxisZ(Placement.M[2][0], Placement.M[2][1], Placement.M[2][2]);
	AxisX.Normalize(1e-8);
	AxisY.Normalize(1e-8);
	AxisZ.Normalize(1e-8);
	const FMatrix Basis(AxisX, AxisY, AxisZ, FVector::ZeroVector);
	const FQuat Rotation = Basis.Rotator().Quaternion();
	return FTransform(Rotation, FVector(Placement.M[3][0], Placement.M[3][1], Placement.M[3][2]), FVector::OneVector);
}

float FKorvatPlugin::GetKorvatCameraFov() const
{
	return FMath::Atan(1.0f / Link.Inbound.Projection[0]) * 114.59155f;
}

float FKorvatPlugin::GetKorvatCameraAspect() const
{
	return Link.GetCameraAspect();
}

FMatrix FKorvatPlugin::GetKorvatProjectionMatrix() const
{
	return KorvatCamera::ToEngineMatrix(Link.Inbound.Projection);
}

FVector2D FKorvatPlugin::GetKorvatProjectionOffset() const
{
	return FVector2D(Link.Inbound.Projection[8], Link.Inbound.Projection[9]);
}

bool FKorvatPlugin::IsKorvatCameraOrtho() const
{
	return Link.Inbound.Projection[15] == 1.0f;
}

void FKorvatPlugin::ApplyHostCamera()
{
	if (!Link.Inbound.CameraChanged)
	{
		return;
	}
	Link.Inbound.CameraChanged = false;

	const FTransform CameraTransform = GetKorvatCameraTransform();
	UWorld* World = GameViewportWorld();
	APlayerController* Controller = World ? World->GetFirstPlayerController() : nullptr;
	if (Controller == nullptr)
	{
		return;
	}

	if (APlayerCameraManager* CameraManager = Controller->PlayerCameraManager)
	{
		CameraManager->bIsOrthographic = IsKorvatCameraOrtho();
		// The host's camera may look anywhere: no limits that would clamp its rotation.
		CameraManager->ViewPitchMin = -179.9999f;
		CameraManager->ViewPitchMax = 180.0f;
		CameraManager->ViewYawMin = 0.0f;
		CameraManager->ViewYawMax = 359.9999f;
		CameraManager->ViewRollMin = -179.9999f;
		CameraManager->ViewRollMax = 180.0f;
		// A camera may arrive before any projection; an all-zero one would open the view to 180 degrees.
		if (Link.Inbound.Projection[0] != 0.0f)
		{
			CameraManager->SetFOV(GetKorvatCameraFov());
		}
	}

	AActor* ViewTarget = Controller->GetViewTarget();
	if (ViewTarget == nullptr)
	{
		return;
	}
	if (APawn* Pawn = Cast<APawn>(ViewTarget))
	{
		if (AController* PawnController = Pawn->GetController())
		{
			PawnController->ClientSetRotation(CameraTransform.Rotator(), false);
		}
		Pawn->BaseEyeHeight = 0.0f;
		Pawn->SetActorLocation(CameraTransform.GetTranslation());
	}
	else
	{
		ViewTarget->SetActorTransform(CameraTransform);
	}

	// Last, so that moving the actor does not carry cameras attached to it past the host's camera.
	ViewTarget->GetComponents(CameraComponentScratch);
	for (UCameraComponent* CameraComponent : CameraComponentScratch)
	{
		if (CameraComponent->IsActive())
		{
			CameraComponent->SetWorldTransform(CameraTransform);
		}
	}
}

TSharedPtr<FKorvatViewExtension, ESPMode::ThreadSafe> FKorvatPlugin::FindOrAddDisplayConfiguration(FViewport* Viewport)
{
	for (const TSharedPtr<FKorvatViewExtension, ESPMode::ThreadSafe>& Extension : DisplayConfigurations)
	{
		if (Extension->Viewport == Viewport)
		{
			return Extension;
		}
	}
	TSharedPtr<FKorvatViewExtension, ESPMode::ThreadSafe> Extension = FSceneViewExtensions::NewExtension<FKorvatViewExtension>(Viewport);
	DisplayConfigurations.Add(Extension);
	return Extension;
}

FSceneViewport* FKorvatPlugin::FindActiveSceneViewport()
{
#if WITH_EDITOR
	if (GIsEditor)
	{
		UEditorEngine* EditorEngine = Cast<UEditorEngine>(GEngine);
		if (EditorEngine == nullptr)
		{
			return nullptr;
		}
		// The last world context with a viewport wins: a play-in-editor session over the level editor.
		FSceneViewport* Found = nullptr;
		for (const FWorldContext& Context : EditorEngine->GetWorldContexts())
		{
			if (Context.WorldType == EWorldType::Editor)
			{
				static const FName LevelEditorName(TEXT("LevelEditor"));
				FLevelEditorModule& LevelEditor = FModuleManager::LoadModuleChecked<FLevelEditorModule>(LevelEditorName);
				if (TSharedPtr<SLevelViewport> LevelViewport = LevelEditor.GetFirstActiveLevelViewport())
				{
					Found = LevelViewport->GetSharedActiveViewport().Get();
				}
			}
			else if (Context.WorldType == EWorldType::PIE)
			{
				if (const FSlatePlayInEditorInfo* Session = EditorEngine->SlatePlayInEditorMap.Find(Context.ContextHandle))
				{
					if (TSharedPtr<IAssetViewport> Destination = Session->DestinationSlateViewport.Pin())
					{
						Found = Destination->GetSharedActiveViewport().Get();
					}
					else
					{
						Found = Session->SlatePlayInEditorWindowViewport.Get();
					}
				}
			}
		}
		return Found;
	}
#endif
	const UGameEngine* GameEngine = Cast<UGameEngine>(GEngine);
	return GameEngine ? GameEngine->SceneViewport.Get() : nullptr;
}
