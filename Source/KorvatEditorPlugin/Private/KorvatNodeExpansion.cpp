#include "KorvatNodeExpansion.h"

#include "EdGraphSchema_K2.h"
#include "K2Node.h"
#include "K2Node_CallFunction.h"
#include "Kismet/KismetMathLibrary.h"
#include "KismetCompiler.h"

namespace KorvatNodeExpansion
{
using namespace KorvatNodeSupport;

namespace Private
{
UK2Node_CallFunction* SpawnCall(UK2Node& Node, FKismetCompilerContext& CompilerContext, UEdGraph* SourceGraph, UFunction* Function)
{
	UK2Node_CallFunction* Call = CompilerContext.SpawnIntermediateNode<UK2Node_CallFunction>(&Node, SourceGraph);
	CompilerContext.MessageLog.NotifyIntermediateObjectCreation(Call, &Node);
	Call->SetFromFunction(Function);
	Call->AllocateDefaultPins();
	return Call;
}

/**
 * The pins of a library call: node and field names, the value (the reader's return value or the sender's "value")
 * and a reader's availability.
 */
struct FCallPins
{
	UEdGraphPin* NodeName = nullptr;
	UEdGraphPin* FieldName = nullptr;
	UEdGraphPin* Value = nullptr;
	UEdGraphPin* IsAvailable = nullptr;
	bool bComplete = false;
};

/** Spawns the library call to Function and finds its pins; bComplete tells whether it has all a call of Kind needs. */
FCallPins SpawnLibraryCall(UK2Node& Node, FKismetCompilerContext& CompilerContext, UEdGraph* SourceGraph, UFunction* Function,
	ELibraryCall Kind, UK2Node_CallFunction*& OutCall)
{
	const bool bGet = Kind == ELibraryCall::Get;
	OutCall = SpawnCall(Node, CompilerContext, SourceGraph, Function);
	FCallPins Pins;
	Pins.NodeName = OutCall->FindPin(LibraryNodeNamePin, EGPD_Input);
	Pins.FieldName = OutCall->FindPin(LibraryFieldNamePin, EGPD_Input);
	Pins.Value = bGet ? OutCall->GetReturnValuePin() : OutCall->FindPin(LibraryValuePin, EGPD_Input);
	Pins.IsAvailable = bGet ? OutCall->FindPin(LibraryIsAvailablePin, EGPD_Output) : nullptr;
	Pins.bComplete = Pins.NodeName && Pins.FieldName && Pins.Value && (!bGet || Pins.IsAvailable);
	return Pins;
}
} // namespace Private

void ExpandSingleField(UK2Node& Node, FKismetCompilerContext& CompilerContext, UEdGraph* SourceGraph, ELibraryCall Call, KorvatType Type)
{
	const bool bGet = Call == ELibraryCall::Get;
	UEdGraphPin* ExecPin = Node.GetExecPin();
	UEdGraphPin* ThenPin = Node.GetThenPin();
	UEdGraphPin* NodeNamePin = Node.FindPin(NodePinName, EGPD_Input);
	UEdGraphPin* FieldNamePin = Node.FindPin(FieldPinNameOfNode, EGPD_Input);
	UEdGraphPin* ValuePin = bGet ? Node.FindPin(ResultPinName, EGPD_Output) : Node.FindPin(ValuePinName, EGPD_Input);
	UEdGraphPin* IsValidPin = bGet ? Node.FindPin(IsValidPinName, EGPD_Output) : nullptr;
	UFunction* Function = FindLibraryFunction(Call, Type);
	if (!ExecPin || !ThenPin || !NodeNamePin || !FieldNamePin || !ValuePin || (bGet && !IsValidPin) || !Function)
	{
		return;
	}

	UK2Node_CallFunction* LibraryCall = nullptr;
	const Private::FCallPins CallPins = Private::SpawnLibraryCall(Node, CompilerContext, SourceGraph, Function, Call, LibraryCall);
	if (!CallPins.bComplete)
	{
		return;
	}
	// Moving a pin's links also carries an unconnected pin's literal over to the call.
	CompilerContext.MovePinLinksToIntermediate(*NodeNamePin, *CallPins.NodeName);
	CompilerContext.MovePinLinksToIntermediate(*FieldNamePin, *CallPins.FieldName);
	if (bGet)
	{
		CompilerContext.MovePinLinksToIntermediate(*IsValidPin, *CallPins.IsAvailable);
	}
	CompilerContext.MovePinLinksToIntermediate(*ValuePin, *CallPins.Value);
	CompilerContext.MovePinLinksToIntermediate(*ExecPin, *LibraryCall->GetExecPin());
	CompilerContext.MovePinLinksToIntermediate(*ThenPin, *LibraryCall->GetThenPin());
}

void ExpandFieldChain(UK2Node& Node, FKismetCompilerContext& CompilerContext, UEdGraph* SourceGraph, ELibraryCall Call,
	const TArray<const FKorvatNodeField*>& Fields)
{
	const bool bGet = Call == ELibraryCall::Get;
	UEdGraphPin* ExecPin = Node.GetExecPin();
	UEdGraphPin* ThenPin = Node.GetThenPin();
	UEdGraphPin* NodeNamePin = Node.FindPin(NodePinName, EGPD_Input);
	UEdGraphPin* IsValidPin = bGet ? Node.FindPin(IsValidPinName, EGPD_Output) : nullptr;
	if (!ExecPin || !ThenPin || !NodeNamePin || (bGet && !IsValidPin))
	{
		return;
	}
	UFunction* BooleanAnd = bGet ? UKismetMathLibrary::StaticClass()->FindFunctionByName(FName(TEXT("BooleanAND"))) : nullptr;
	const KorvatCommunicationDirection Direction = bGet ? KorvatCommunicationDirection::FromKorvat : KorvatCommunicationDirection::ToKorvat;
	const EEdGraphPinDirection FieldPinDirection = bGet ? EGPD_Output : EGPD_Input;

	UEdGraphPin* PreviousThen = nullptr;
	UEdGraphPin* Available = nullptr;
	for (const FKorvatNodeField* Field : Fields)
	{
		UEdGraphPin* FieldValuePin = Field->direction == Direction ? Node.FindPin(FieldPinName(*Field), FieldPinDirection) : nullptr;
		if (FieldValuePin == nullptr)
		{
			continue;
		}
		UFunction* Function = FindLibraryFunction(Call, Field->fieldType);
		if (Function == nullptr)
		{
			// A type the node does not know ends the chain here.
			break;
		}
		UK2Node_CallFunction* LibraryCall = nullptr;
		const Private::FCallPins CallPins = Private::SpawnLibraryCall(Node, CompilerContext, SourceGraph, Function, Call, LibraryCall);
		if (!CallPins.bComplete)
		{
			continue;
		}
		// Every call addresses the same host node.
		CompilerContext.CopyPinLinksToIntermediate(*NodeNamePin, *CallPins.NodeName);
		CallPins.FieldName->DefaultValue = Field->fieldName;
		CompilerContext.MovePinLinksToIntermediate(*FieldValuePin, *CallPins.Value);

		if (PreviousThen == nullptr)
		{
			CompilerContext.MovePinLinksToIntermediate(*ExecPin, *LibraryCall->GetExecPin());
		}
		else
		{
			PreviousThen->MakeLinkTo(LibraryCall->GetExecPin());
		}
		PreviousThen = LibraryCall->GetThenPin();

		if (!bGet)
		{
			continue;
		}
		if (Available == nullptr)
		{
			Available = CallPins.IsAvailable;
		}
		else if (BooleanAnd != nullptr)
		{
			UK2Node_CallFunction* And = Private::SpawnCall(Node, CompilerContext, SourceGraph, BooleanAnd);
			UEdGraphPin* A = And->FindPin(FName(TEXT("A")), EGPD_Input);
			UEdGraphPin* B = And->FindPin(FName(TEXT("B")), EGPD_Input);
			UEdGraphPin* Both = And->GetReturnValuePin();
			if (A && B && Both)
			{
				Available->MakeLinkTo(A);
				CallPins.IsAvailable->MakeLinkTo(B);
				Available = Both;
			}
		}
	}

	if (PreviousThen != nullptr)
	{
		CompilerContext.MovePinLinksToIntermediate(*ThenPin, *PreviousThen);
		if (bGet)
		{
			CompilerContext.MovePinLinksToIntermediate(*IsValidPin, *Available);
		}
	}
	Node.BreakAllNodeLinks();
}
} // namespace KorvatNodeExpansion
