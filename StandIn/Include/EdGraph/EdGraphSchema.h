// UEdGraphSchema (Engine): the rules of a kind of graph (which connections it allows, how links are made,
// moved and broken, and what pin default values mean), and the answer to a connection request.
#pragma once

#include "CoreMinimal.h"
#include "UObject/ObjectMacros.h"
#include "UObject/Object.h"
#include "Containers/EnumAsByte.h"
#include "EdGraph/EdGraphNode.h"
#include "EdGraph/EdGraphPin.h"
#include "EdGraphSchema.generated.h"

/** The answer of a schema to "can these two pins be connected". */
UENUM()
enum ECanCreateConnectionResponse
{
	/** Make the connection; there are no issues (message string is displayed if not empty). */
	CONNECT_RESPONSE_MAKE,
	/** Cannot make this connection; display the message string as an error. */
	CONNECT_RESPONSE_DISALLOW,
	/** Break all existing connections on A and make the new connection (it's exclusive). */
	CONNECT_RESPONSE_BREAK_OTHERS_A,
	/** Break all existing connections on B and make the new connection (it's exclusive). */
	CONNECT_RESPONSE_BREAK_OTHERS_B,
	/** Break all existing connections on A and B, and make the new connection (it's exclusive). */
	CONNECT_RESPONSE_BREAK_OTHERS_AB,
	/** Make the connection via an intermediate cast node, or some other conversion node. */
	CONNECT_RESPONSE_MAKE_WITH_CONVERSION_NODE,
	/** Make the connection by promoting a lower type to a higher type. */
	CONNECT_RESPONSE_MAKE_WITH_PROMOTION,

	CONNECT_RESPONSE_MAX,
};

/** Structure to return the response of a connection request. */
struct FPinConnectionResponse
{
	FText Message;

	TEnumAsByte<enum ECanCreateConnectionResponse> Response;

	FPinConnectionResponse()
		: Message(FText::GetEmpty())
		, Response(CONNECT_RESPONSE_MAKE)
		, bIsFatal(false)
	{
	}

	FPinConnectionResponse(const ECanCreateConnectionResponse InResponse, FText InMessage)
		: Message(MoveTemp(InMessage))
		, Response(InResponse)
		, bIsFatal(false)
	{
	}

	FPinConnectionResponse(const ECanCreateConnectionResponse InResponse, const FString& InMessage)
		: Message(FText::FromString(InMessage))
		, Response(InResponse)
		, bIsFatal(false)
	{
	}

	FPinConnectionResponse(const ECanCreateConnectionResponse InResponse, const ANSICHAR* InMessage)
		: Message(FText::FromString(FString(InMessage)))
		, Response(InResponse)
		, bIsFatal(false)
	{
	}

	FPinConnectionResponse(const ECanCreateConnectionResponse InResponse, const TCHAR* InMessage)
		: Message(FText::FromString(FString(InMessage)))
		, Response(InResponse)
		, bIsFatal(false)
	{
	}

	friend bool operator==(const FPinConnectionResponse& A, const FPinConnectionResponse& B)
	{
		return (A.Message.ToString() == B.Message.ToString()) && (A.Response == B.Response);
	}

	/** If a connection can be made without breaking existing connections */
	bool CanSafeConnect() const
	{
		return (Response == CONNECT_RESPONSE_MAKE);
	}

	bool IsFatal() const
	{
		return (Response == CONNECT_RESPONSE_DISALLOW) && bIsFatal;
	}

	void SetFatal()
	{
		bIsFatal = true;
	}

private:
	bool bIsFatal;
};

UCLASS(abstract)
class ENGINE_API UEdGraphSchema : public UObject
{
	GENERATED_UCLASS_BODY()

public:
	/** Whether a connection from PinA to PinB can be made, and how. */
	virtual const FPinConnectionResponse CanCreateConnection(const UEdGraphPin* A, const UEdGraphPin* B) const;

	/** Makes the connection if CanCreateConnection allows it (breaking links it says to break); true if made. */
	virtual bool TryCreateConnection(UEdGraphPin* A, UEdGraphPin* B) const;

	/** Puts the input and the output of two pins in InputPin and OutputPin; false if they are not one of each. */
	bool CategorizePinsByDirection(const UEdGraphPin* PinA, const UEdGraphPin* PinB, /*out*/ const UEdGraphPin*& InputPin, /*out*/ const UEdGraphPin*& OutputPin) const;

	/** Breaks all links of a node. */
	virtual void BreakNodeLinks(UEdGraphNode& TargetNode) const;

	/** Breaks all links of a pin, telling the nodes on both sides when bSendsNodeNotifcation. */
	virtual void BreakPinLinks(UEdGraphPin& TargetPin, bool bSendsNodeNotifcation) const;

	/** Breaks the link between two pins and tells both nodes. */
	virtual void BreakSinglePinLink(UEdGraphPin* SourcePin, UEdGraphPin* TargetPin) const;

	/** Moves the links of MoveFromPin to MoveToPin (the ones the schema allows), and its default value. */
	virtual FPinConnectionResponse MovePinLinks(UEdGraphPin& MoveFromPin, UEdGraphPin& MoveToPin, bool bIsIntermediateMove = false, bool bNotifyLinkedNodes = false) const;

	/** Copies the links of CopyFromPin to CopyToPin (the ones the schema allows), and its default value. */
	virtual FPinConnectionResponse CopyPinLinks(UEdGraphPin& CopyFromPin, UEdGraphPin& CopyToPin, bool bIsIntermediateCopy = false) const;

	/** Sets the default value of a pin if the schema takes it for a valid value of the pin's type. */
	virtual void TrySetDefaultValue(UEdGraphPin& Pin, const FString& NewDefaultValue, bool bMarkAsModified = true) const;

	/** Why a default value is not valid for a pin, or an empty string when it is. */
	virtual FString IsPinDefaultValid(const UEdGraphPin* /*Pin*/, const FString& /*NewDefaultValue*/, TObjectPtr<UObject> /*NewDefaultObject*/, const FText& /*InNewDefaultText*/) const { return FString(); }

	/** Whether the pin's default value is its autogenerated one. */
	virtual bool DoesDefaultValueMatchAutogenerated(const UEdGraphPin& InPin) const;

	/** Gives the pin its autogenerated default value again. */
	virtual void ResetPinToAutogeneratedDefaultValue(UEdGraphPin* Pin, bool bCallModifyCallbacks = true) const;

	/** Rebuilds a node's pins (UEdGraphNode::ReconstructNode). */
	virtual void ReconstructNode(UEdGraphNode& TargetNode, bool bIsBatchRequest = false) const;

#if WITH_EDITORONLY_DATA
	/** The name shown for a pin: its friendly name when set, else its name (nothing for a pin without one). */
	virtual FText GetPinDisplayName(const UEdGraphPin* Pin) const;
#endif
};
