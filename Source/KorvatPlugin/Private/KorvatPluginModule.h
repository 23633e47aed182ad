// The runtime module object: owns the link to the host and everything this process keeps for it.
#pragma once

#include "CoreMinimal.h"
#include "IKorvatPlugin.h"
#include "KorvatBPEvent.h"
#include "Scalability.h"
#include "Stats/Stats.h"
#include "Tickable.h"
#include "UObject/WeakObjectPtrTemplates.h"

#include "HostLink.h"
#include "UE4ComCommon.h"

#include <string>
#include <unordered_map>

class FGenericApplicationMessageHandler;
class FKorvatInputDevice;
class FKorvatTrace;
class FOutputDevice;
class IConsoleObject;
class IConsoleVariable;
class FKorvatViewExtension;
class IInputDevice;
class UTextureShare;
class UTextureShareObject;
class UCameraComponent;
class UGameViewportClient;
class UPrimitiveComponent;
class FSceneViewport;
class FViewport;
class UWorld;

class KORVATPLUGIN_API FKorvatPlugin : public IKorvatPlugin, public FTickableGameObject
{
public:
	FKorvatPlugin();
	virtual ~FKorvatPlugin() override;

	//~ Begin IModuleInterface Interface
	virtual void StartupModule() override;
	virtual void ShutdownModule() override;
	//~ End IModuleInterface Interface

	//~ Begin IInputDeviceModule Interface
	using IInputDeviceModule::CreateInputDevice;
	virtual TSharedPtr<IInputDevice> CreateInputDevice(const TSharedRef<FGenericApplicationMessageHandler>& InMessageHandler) override;
	//~ End IInputDeviceModule Interface

	//~ Begin FTickableGameObject Interface
	virtual void Tick(float DeltaTime) override;
	virtual TStatId GetStatId() const override;
	virtual bool IsTickableWhenPaused() const override;
	virtual bool IsTickableInEditor() const override;
	//~ End FTickableGameObject Interface

	/** True while the link to the host is connected. */
	bool IsConnected() const;
	/** The GUID by which the host knows this process. */
	Korvat::UE4::GUID GetKorvatLaunchID() const;
	/** The cluster clock the host sent last. */
	Korvat::UE4::FromKorvatClock GetClusterClock() const;

	/** The loaded module; check IKorvatPlugin::IsAvailable first. */
	static FKorvatPlugin& GetLoaded();
	/** The module when it is loaded, else null: for code that may run before start-up or after shut-down. */
	static FKorvatPlugin* FindLoaded();

	// The host's camera and projection, as last received (derived from zeros before anything arrived).

	/** The host camera's placement in Unreal's axes and centimetres. */
	FTransform GetKorvatCameraTransform() const;
	/** The horizontal field of view of the host's projection, in degrees. */
	float GetKorvatCameraFov() const;
	/** The host's view aspect: its last resolution, else the projection's. */
	float GetKorvatCameraAspect() const;
	FMatrix GetKorvatProjectionMatrix() const;
	/** The off-centre terms of the host's projection. */
	FVector2D GetKorvatProjectionOffset() const;
	bool IsKorvatCameraOrtho() const;

	// Values the host sent, by value id and kind (each kind is kept apart). isAvailable tells whether the host
	// sent one of that kind for the id; when it did not, the reader returns the default.

	int32 GetIntValue(uint32 ValueId, bool& isAvailable) const;
	float GetFloatValue(uint32 ValueId, bool& isAvailable) const;
	/** The text up to its first NUL, decoded from UTF-8. */
	FString GetStringValue(uint32 ValueId, bool& isAvailable) const;
	bool GetBoolValue(uint32 ValueId, bool& isAvailable) const;
	TArray<int32> GetIntArray(uint32 ValueId, bool& isAvailable) const;
	TArray<float> GetFloatArray(uint32 ValueId, bool& isAvailable) const;
	/** The items of the host's NUL-separated text, in order. */
	TArray<FString> GetStringArray(uint32 ValueId, bool& isAvailable) const;
	TArray<bool> GetBoolArray(uint32 ValueId, bool& isAvailable) const;
	/** The host's 4x4 matrix with scale as a transform; the identity when none arrived. */
	FTransform GetTransformValue(uint32 ValueId, bool& isAvailable) const;
	/** No host message carries colours: always unavailable, all channels 0. */
	FColor GetColorValue(uint32 ValueId, bool& isAvailable) const;

	// Values for the host: published with the frame marker in every registered share object, where a later
	// send of the same kind and id replaces the earlier one. Without a registered share object nothing is sent.

	void SendIntValue(uint32 ValueId, const int32& Value);
	void SendFloatValue(uint32 ValueId, const float& Value);
	/** Sends the text up to its first NUL as UTF-8. */
	void SendStringValue(uint32 ValueId, const FString& Value);
	void SendBoolValue(uint32 ValueId, bool Value);
	void SendIntArray(uint32 ValueId, const TArray<int32>& Values);
	void SendFloatArray(uint32 ValueId, const TArray<float>& Values);
	/** Sends each item up to its first NUL as UTF-8, each followed by one NUL. */
	void SendStringArray(uint32 ValueId, const TArray<FString>& Values);
	void SendBoolArray(uint32 ValueId, const TArray<bool>& Values);
	/** Sends the transform's matrix with scale, 16 doubles row by row. */
	void SendTransformValue(uint32 ValueId, const FTransform& Value);

	// Methods, events and field lists. Method callbacks run when the host calls the method of their id, the
	// latest registered first; they are dropped when a new world is created. Field-list questions and answers
	// travel only while the link is connected; otherwise they are dropped silently.

	/** Adds Callback for the host's calls of the method ValueId; registering a callback twice runs it twice. */
	void RegisterEvent(uint32 ValueId, const FKorvatEventCallback& Callback);
	/** Publishes an event for the host with the next sequence number of this process (the first is 0). */
	void TriggerEvent(uint32 ValueId, int32 Argument);
	/**
	 * Asks the host for the fields of NodeName (sent lower-cased); the answer reaches Requester once, later.
	 * Without a Requester nothing is asked.
	 */
	void RequestFieldListUpdate(const FString& NodeName, IKorvatNodeFieldSync* Requester);
	/** Withdraws every open field-list question of Requester; call it before Requester is destroyed. */
	void CancelFieldListRequests(IKorvatNodeFieldSync* Requester);
	/** The host's questions collected since the last call (request GUID to node name); each is handed out once. */
	std::unordered_map<Korvat::UE4::GUID, std::string, Korvat::UE4::GuidHash> GetFieldListRequests();
	/** Answers the host's question RequestId with Fields, in order. */
	void SendFieldList(const Korvat::UE4::GUID& RequestId, const std::vector<Korvat::UE4::FieldDescriptor>& Fields);

	/** The view extension that reports the views of Viewport to the host; made and registered on first use. */
	TSharedPtr<FKorvatViewExtension, ESPMode::ThreadSafe> FindOrAddDisplayConfiguration(FViewport* Viewport);

	/** Sends the layout of the rendered views to the host (two rectangles) while connected. */
	void SetViewports(int32 A, int32 B, int32 C, int32 D, int32 E, int32 F);
	/** Tells the host how to treat alpha: 2 propagates it, anything else does not. */
	void SetAlphaPropagation(int32 Mode);

	/** Adds or replaces a share object announced to the host under Guid; the host hears of new GUIDs. */
	void RegisterTextureShare(const Korvat::UE4::GUID& Guid, UTextureShareObject* Object);
	/** Removes a share object from those announced to the host; the host hears of the change. */
	void UnRegisterTextureShare(const Korvat::UE4::GUID& Guid);

	// Diagnostics: the console commands Korvat.Status, Korvat.Trace.Start [file] and Korvat.Trace.Stop.

	/** What Korvat.Status prints, line by line; bFull adds every value held and every share parameter. */
	void DescribeStatus(bool bFull, TArray<FString>& OutLines) const;
	/** True while a trace of the link's messages is being recorded. */
	bool IsTracing() const;

private:
	// Engine notifications.
	void OnBeginFrame();
	void OnEndFrame();
	void OnEnginePreExit();
	void OnPostEngineInit();
	void OnPostWorldCreation(UWorld* World);

	// Frame driver and render settings.
	void TickAnc();
	void SetGameRunning(UWorld* World);
	void SetRenderQuality(Korvat::UE4::RenderQuality Quality);
	/** The scalability levels a render quality of the host stands for. */
	Scalability::FQualityLevels RenderQualityLevels(Korvat::UE4::RenderQuality Quality) const;
	/** The anti-aliasing quality of FXAA, forced at engine start and game start. */
	static constexpr int32 ForcedAntiAliasingQuality = 1;
	/** Sets the user's anti-aliasing to FXAA's quality and applies and saves the user's settings but the resolution. */
	void ForceFXAA();
	void DisableEditorCPUThrottling();
	void DeliverHostEvents();
	void ApplyPendingResolution();
	void ConfigurePlayerController(bool bConnected);
	/** Moves the first player to the host's camera, when the host sent a new camera or projection. */
	void ApplyHostCamera();
	/** Injects the input packets the host sent, while a game runs; drops them otherwise. */
	void ProcessKorvatInputs();
	/** Gives Slate its real platform application back if the input device's wrapper is the one installed. */
	void RestorePlatformApplication();
	/** Makes local players created from now on of the module's class, which takes the host's projection. */
	static void UseKorvatLocalPlayer();
	/** The scene viewport the player looks through: the game's, the level editor's or a play-in-editor session's. */
	static FSceneViewport* FindActiveSceneViewport();
	static UGameViewportClient* GameViewportClient();
	static UWorld* GameViewportWorld();
	bool ShouldCreateTextureShareAtGameStart() const;
	/** The host receives images only through the Direct3D 11 path of TextureShare. */
	static bool IsRenderBackEndD3D11();

	// Diagnostics.
	/** Logs each change of the link's condition and of its writes since the last look, once. */
	void ReportLinkChanges()
	{
		// Called every frame: when nothing changed, as in almost every frame, it costs three comparisons.
		const Korvat::UE4::WriteFailures& Failures = Link.GetWriteFailures();
		if (Link.GetConnectionReport().Changes != ReportedConnectionChanges || Failures.Total != WriteFailuresSeen ||
			Failures.bFailing != bWritesFailingReported)
		{
			LogLinkChanges();
		}
	}
	void LogLinkChanges();
	void LogConnectionCondition(const Korvat::UE4::ConnectionReport& Report) const;
	void ReportWriteFailures();
	void RegisterConsoleCommands();
	void UnregisterConsoleCommands();
	void ExecStatusCommand(const TArray<FString>& Args, FOutputDevice& Ar);
	void ExecTraceStartCommand(const TArray<FString>& Args, FOutputDevice& Ar);
	void ExecTraceStopCommand(const TArray<FString>& Args, FOutputDevice& Ar);

	// Texture sharing.
	/** The name of the module's share object: the launch id's fields in lower-case hexadecimal and an underscore. */
	static FString FormatShareName(const Korvat::UE4::GUID& InLaunchId);
	const FString& ShareName() const { return KorvatShareName; }
	void CreateKorvatTextureShare(UWorld* World);
	void DestroyKorvatTextureShare(UWorld* World);
	UTextureShare* FindWorldTextureShare(UWorld* World) const;
	UTextureShareObject* GetRegisteredTextureShare(const Korvat::UE4::GUID& Guid) const;
	void SendTextureShareList();
	void RefreshFrameMarker();
	/** Adds a message in its parameter form to every registered share object; the host receives it with the next shared frame. */
	void PublishParameter(uint32 Tag, uint32 Id, const Korvat::UE4::GUID& Identifier, const void* Payload, int32 Length);
	void EchoAcceptedMessage(const Korvat::UE4::DecodedMessage& Message);

	/** Share objects by GUID; weak, so that an object the engine destroyed is skipped instead of written to. */
	using FTextureShareRegistry = std::unordered_map<Korvat::UE4::GUID, TWeakObjectPtr<UTextureShareObject>, Korvat::UE4::GuidHash>;

	Korvat::UE4::HostLink Link;
	TSharedPtr<FKorvatInputDevice> InputDevice;
	TMultiMap<uint32, FKorvatEventCallback> RegisteredEvents;
	int32 FrameMarker = 0;
	bool bTextureShareListSent = false;
	FTextureShareRegistry RegisteredTextureShares;
	Korvat::UE4::GUID LaunchId;
	bool bLaunchIdGenerated = true;
	bool bGameRunning = false;
	Korvat::UE4::FieldListRequestMap FieldListRequests;
	Scalability::FQualityLevels SavedQualityLevels;
	Korvat::UE4::RenderQuality CurrentRenderQuality = Korvat::UE4::RenderQuality::Default;
	TArray<TSharedPtr<FKorvatViewExtension, ESPMode::ThreadSafe>> DisplayConfigurations;

	// Diagnostics.
	uint32 ReportedConnectionChanges = 0;
	/** The link's count of failed writes at the last look, and at the start of the streak reported as failing. */
	uint64 WriteFailuresSeen = 0;
	uint64 WriteFailuresAtStreakStart = 0;
	bool bWritesFailingReported = false;
	uint64 InputPacketsTaken = 0;
	uint64 InputPacketsInjected = 0;
	TUniquePtr<FKorvatTrace> Trace;
	TArray<IConsoleObject*> ConsoleCommands;
	IConsoleVariable* TraceMaxMiB = nullptr;

	/** ShareName, made once: the launch id does not change after start-up. */
	FString KorvatShareName;
	/** Reused for every parameter key and value, so publishing allocates only the engine strings. */
	std::string ParameterKeyBuffer;
	std::string ParameterValueBuffer;
	/** Reused every frame when the player's components are visited. */
	TArray<UPrimitiveComponent*> ComponentScratch;
	TArray<UCameraComponent*> CameraComponentScratch;
};
