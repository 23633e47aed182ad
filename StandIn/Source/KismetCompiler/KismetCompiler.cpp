// The compiler context nodes see while they expand.
#include "KismetCompiler.h"

#include "EdGraph/EdGraphPin.h"

FKismetCompilerContext::FKismetCompilerContext(UBlueprint* SourceSketch, FCompilerResultsLog& InMessageLog, const FKismetCompilerOptions& InCompilerOptions)
	: FGraphCompilerContext(InMessageLog)
	, Blueprint(SourceSketch)
	, Schema(NewObject<UEdGraphSchema_K2>())
	, CompileOptions(InCompilerOptions)
{
}

FKismetCompilerContext::~FKismetCompilerContext() = default;

FPinConnectionResponse FKismetCompilerContext::MovePinLinksToIntermediate(UEdGraphPin& SourcePin, UEdGraphPin& IntermediatePin)
{
	FPinConnectionResponse ConnectionResult;

	// A removed (orphaned) pin has its own compile errors; its links are not moved.
	if (!SourcePin.bOrphanedPin)
	{
		const UEdGraphSchema_K2* K2Schema = GetSchema();
		ConnectionResult = K2Schema->MovePinLinks(SourcePin, IntermediatePin, true);

		CheckConnectionResponse(ConnectionResult, SourcePin.GetOwningNode());
		MessageLog.NotifyIntermediatePinCreation(&IntermediatePin, &SourcePin);
	}

	return ConnectionResult;
}

FPinConnectionResponse FKismetCompilerContext::CopyPinLinksToIntermediate(UEdGraphPin& SourcePin, UEdGraphPin& IntermediatePin)
{
	FPinConnectionResponse ConnectionResult;

	// A removed (orphaned) pin has its own compile errors; its links are not copied.
	if (!SourcePin.bOrphanedPin)
	{
		const UEdGraphSchema_K2* K2Schema = GetSchema();
		ConnectionResult = K2Schema->CopyPinLinks(SourcePin, IntermediatePin, true);

		CheckConnectionResponse(ConnectionResult, SourcePin.GetOwningNode());
		MessageLog.NotifyIntermediatePinCreation(&IntermediatePin, &SourcePin);
	}

	return ConnectionResult;
}

bool FKismetCompilerContext::CheckConnectionResponse(const FPinConnectionResponse& Response, const UEdGraphNode* Node)
{
	if (!Response.CanSafeConnect())
	{
		MessageLog.Error(*FString::Printf(TEXT("COMPILER ERROR: failed building connection with '%s' at @@"), *Response.Message.ToString()), Node);
		return false;
	}
	return true;
}

void FKismetCompilerContext::AutoAssignNodePosition(UEdGraphNode* /*Node*/)
{
}
