// Recording of the link's traffic: every message read from and written to the host, the values published
// through texture sharing and the connection's comings and goings, as JSON lines a person can read and
// korvat-host can replay.
#pragma once

#include "CoreMinimal.h"

#include "HostLink.h"
#include "LinkDiagnostics.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

class FArchive;

class FKorvatTrace final : public Korvat::UE4::MessageObserver
{
public:
	/** The size a trace stops at unless told otherwise, so a forgotten recording cannot fill the disk. */
	static constexpr int32 DefaultMaxMiB = 64;

	explicit FKorvatTrace(Korvat::UE4::HostLink& InLink);
	virtual ~FKorvatTrace() override;

	/** The file a trace goes to without a name: a new one in the project's log folder, named by the time. */
	static FString DefaultPath();
	/** Resolves a name given to the start command: a relative one lies in the project's log folder. */
	static FString ResolvePath(const FString& Name);

	/** Creates (or replaces) Path and records from now on, up to MaxBytes; false with the reason in OutError. */
	bool Start(const FString& Path, int64 MaxBytes, FString& OutError);
	/** Writes the closing line, closes the file and stops observing the link; nothing when not recording. */
	void Stop(const char* Reason = nullptr);
	bool IsRecording() const { return File.IsValid(); }
	const FString& GetPath() const { return Path; }
	int64 GetBytesWritten() const { return BytesWritten; }
	int64 GetMessageCount() const { return MessageCount; }

	/** A value published to the host through the share objects: its parameter's tag, id and payload. */
	void RecordShareParameter(uint32 Tag, uint32 Id, std::span<const uint8> Payload, int32 FrameMarker);

	//~ Begin MessageObserver Interface
	virtual void OnInbound(std::span<const std::uint8_t> Message) override;
	virtual void OnOutbound(std::uint32_t Tag, std::span<const std::uint8_t> Payload) override;
	/** Marks where a connection begins ("connected") and ends ("disconnected", with the condition that ended it). */
	virtual void OnConditionChanged(const Korvat::UE4::ConnectionReport& Report) override;
	//~ End MessageObserver Interface

private:
	void RecordConnected(uint32 Slot, const Korvat::UE4::GUID& ConnectionId);
	/** Starts Line with the frame and time every line carries. */
	void BeginLine();
	/**
	 * Appends the message's fields (decoded unless bDecodable is false: then its tag and id only) and its whole
	 * payload in hexadecimal, and closes the line.
	 */
	void EndMessageLine(std::uint32_t Tag, std::span<const std::uint8_t> Payload, bool bDecodable);
	/** Writes Line; stops the trace instead when it would pass its size limit. */
	void WriteLine();

	Korvat::UE4::HostLink& Link;
	TUniquePtr<FArchive> File;
	FString Path;
	double StartSeconds = 0.0;
	int64 BytesWritten = 0;
	int64 SizeLimit = 0;
	int64 MessageCount = 0;
	/** The slot of the connection the trace saw begin, while it lasts. */
	uint32 ConnectedSlot = Korvat::UE4::NoSlot;
	/** Reused for every line. */
	std::string Line;
	std::vector<std::uint8_t> MessageScratch;
};
