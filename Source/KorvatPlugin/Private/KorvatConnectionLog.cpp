// One log line per change of the link's condition and of its writes, never one per frame: a host that is
// simply absent gives a line when that starts and one when it ends.
#include "KorvatPluginModule.h"

#include "KorvatLaunchId.h"
#include "KorvatPluginLog.h"
#include "KorvatTrace.h"


namespace
{
FString FailureString(const Korvat::UE4::ObjectFailure& Failure)
{
	const FString Object(Failure.Object != nullptr ? Failure.Object : "unknown object");
	const FString Result(Korvat::UE4::Platform::ToString(Failure.Result));
	return FString::Printf(TEXT("%s (%s, system error %u)"), *Object, *Result, Failure.SystemError);
}
} // namespace

void FKorvatPlugin::LogLinkChanges()
{
	const Korvat::UE4::ConnectionReport& Report = Link.GetConnectionReport();
	if (Report.Changes != ReportedConnectionChanges)
	{
		ReportedConnectionChanges = Report.Changes;
		LogConnectionCondition(Report);
	}

	const Korvat::UE4::WriteFailures& Failures = Link.GetWriteFailures();
	if (Failures.Total != WriteFailuresSeen || Failures.bFailing != bWritesFailingReported)
	{
		ReportWriteFailures();
	}
}

void FKorvatPlugin::LogConnectionCondition(const Korvat::UE4::ConnectionReport& Report) const
{
	using Korvat::UE4::ConnectionCondition;
	const uint32 Slot = Report.Slot;
	switch (Report.Condition)
	{
	case ConnectionCondition::NotStarted:
		break;
	case ConnectionCondition::HostNotRunning:
		UE_LOG(LogKorvatPlugin, Display, TEXT("Korvat host not running (no shared slot table); waiting for it"));
		break;
	case ConnectionCondition::HostObjectFailed:
		UE_LOG(LogKorvatPlugin, Warning, TEXT("Korvat host object could not be opened: %s; trying again"), *FailureString(Report.Failure));
		break;
	case ConnectionCondition::OwnObjectFailed:
		UE_LOG(LogKorvatPlugin, Warning, TEXT("Could not create this process's %s for the Korvat host; trying again"),
			*FailureString(Report.Failure));
		break;
	case ConnectionCondition::TableFull:
		UE_LOG(LogKorvatPlugin, Warning, TEXT("Korvat host's slot table is full (all %u slots busy); waiting for a free slot"),
			Korvat::UE4::SlotCount);
		break;
	case ConnectionCondition::WaitingForHost:
		UE_LOG(LogKorvatPlugin, Display, TEXT("Korvat host found: slot %u requested, waiting for the host to accept"), Slot);
		break;
	case ConnectionCondition::Connected:
		UE_LOG(LogKorvatPlugin, Display, TEXT("Connected to the Korvat host: slot %u, connection %s, launch id %s (%s)"), Slot,
			*Korvat::GuidToString(Report.ConnectionId), *Korvat::GuidToString(LaunchId),
			bLaunchIdGenerated ? TEXT("generated") : TEXT("from the command line"));
		break;
	case ConnectionCondition::RefusedByHost:
		UE_LOG(LogKorvatPlugin, Warning, TEXT("The Korvat host refused slot %u (state 4); requesting a slot again"), Slot);
		break;
	case ConnectionCondition::FreedByHost:
		UE_LOG(LogKorvatPlugin, Display, TEXT("The Korvat host freed slot %u (state 0); requesting a slot again"), Slot);
		break;
	case ConnectionCondition::HostGone:
		UE_LOG(LogKorvatPlugin, Warning, TEXT("The Korvat host is gone (it ended while holding its monitor); slot %u closed"), Slot);
		break;
	case ConnectionCondition::Released:
		UE_LOG(LogKorvatPlugin, Display, TEXT("Slot %u given back to the Korvat host"), Slot);
		break;
	}
}

void FKorvatPlugin::ReportWriteFailures()
{
	const Korvat::UE4::WriteFailures& Failures = Link.GetWriteFailures();
	const FString FirstResult(Korvat::UE4::Platform::ToString(Failures.FirstResult));
	if (Failures.bFailing && !bWritesFailingReported)
	{
		UE_LOG(LogKorvatPlugin, Warning, TEXT("Writes to the Korvat host are failing (%s); messages to it are lost until they recover"),
			*FirstResult);
		WriteFailuresAtStreakStart = WriteFailuresSeen;
		bWritesFailingReported = true;
	}
	else if (!Failures.bFailing)
	{
		// Also a streak that began and ended between two looks.
		const uint64 StreakStart = bWritesFailingReported ? WriteFailuresAtStreakStart : WriteFailuresSeen;
		UE_LOG(LogKorvatPlugin, Display, TEXT("%llu writes to the Korvat host failed (first: %s); %s"),
			static_cast<unsigned long long>(Failures.Total - StreakStart), *FirstResult,
			Link.IsConnected() ? TEXT("writes go through again") : TEXT("the connection has closed"));
		bWritesFailingReported = false;
	}
	WriteFailuresSeen = Failures.Total;
}
