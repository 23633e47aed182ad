// Methods the host calls on Blueprints, events game code triggers on the host, and the field lists both sides
// ask each other for. The host's method calls themselves are delivered by the frame driver.
#include "KorvatPluginModule.h"

#include "Containers/StringConv.h"

#include <string>
#include <vector>

namespace KorvatEvents
{
/** The sequence number of the next event this process triggers; shared by all ids, never reset while loaded. */
uint32 NextEventSequence = 0;
} // namespace KorvatEvents

void FKorvatPlugin::RegisterEvent(uint32 ValueId, const FKorvatEventCallback& Callback)
{
	// A multi-map: several callbacks per id, duplicates kept; MultiFind hands out the latest first.
	RegisteredEvents.Add(ValueId, Callback);
}

void FKorvatPlugin::TriggerEvent(uint32 ValueId, int32 Argument)
{
	// The host tells a new trigger from an earlier one with the same argument by the sequence number, since a
	// second trigger of the id replaces the first in the share parameters until they are transmitted.
	const uint32 Sequence = KorvatEvents::NextEventSequence++;
	const uint32 ArgumentBits = static_cast<uint32>(Argument);
	uint8 Payload[8];
	for (int32 Index = 0; Index < 4; ++Index)
	{
		// Little-endian on the wire, whatever the machine's own order.
		Payload[Index] = static_cast<uint8>(Sequence >> (8 * Index));
		Payload[4 + Index] = static_cast<uint8>(ArgumentBits >> (8 * Index));
	}
	PublishParameter(Korvat::UE4::Tag::EVNT, ValueId, Korvat::UE4::GUID{}, Payload, sizeof(Payload));
}

void FKorvatPlugin::RequestFieldListUpdate(const FString& NodeName, IKorvatNodeFieldSync* Requester)
{
	// Nobody could receive the answer: asking would only leave an entry behind that no answer can clear usefully.
	if (Requester == nullptr || !Link.IsConnected())
	{
		return;
	}
	// Converting from the NUL-terminated buffer stops at the first NUL the name may carry.
	const FString LowerName = NodeName.ToLower();
	const FTCHARToUTF8 Utf8(*LowerName);
	const std::string Name(Utf8.Get(), static_cast<size_t>(Utf8.Length()));
	// A failed write leaves the question unanswered, exactly as a host that never answers does.
	Link.RequestFieldList(Name, Requester);
}

void FKorvatPlugin::CancelFieldListRequests(IKorvatNodeFieldSync* Requester)
{
	Link.CancelFieldListRequests(Requester);
}

std::unordered_map<Korvat::UE4::GUID, std::string, Korvat::UE4::GuidHash> FKorvatPlugin::GetFieldListRequests()
{
	Korvat::UE4::FieldListRequestMap Requests;
	Requests.swap(FieldListRequests);
	return Requests;
}

void FKorvatPlugin::SendFieldList(const Korvat::UE4::GUID& RequestId, const std::vector<Korvat::UE4::FieldDescriptor>& Fields)
{
	if (!Link.IsConnected())
	{
		return;
	}
	Link.SendFieldList(RequestId, Fields);
}
