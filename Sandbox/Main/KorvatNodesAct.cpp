#include "KorvatNodesAct.h"

#include "BlueprintGraphTesting.h"
#include "Containers/StringConv.h"
#include "EdGraph/EdGraph.h"
#include "EdGraphSchema_K2.h"
#include "K2Node_CallFunction.h"
#include "KorvatD2ISendData.h"
#include "KorvatGetValue.h"
#include "PropertyEditorTesting.h"
#include "UObject/Package.h"
#include "UObject/UObjectGlobals.h"

namespace Korvat::Sandbox
{
namespace
{
std::string Narrow(const FString& Text)
{
	return std::string(FTCHARToUTF8(*Text).Get());
}

std::string DescribePins(const UEdGraphNode* Node)
{
	std::string Text;
	for (const UEdGraphPin* Pin : Node->Pins)
	{
		Text += Text.empty() ? "" : ", ";
		Text += (Pin->Direction == EGPD_Input ? "in " : "out ") + Narrow(Pin->PinName.ToString());
		Text += " (" + Narrow(Pin->PinType.PinCategory.ToString());
		if (!Pin->PinType.PinSubCategory.IsNone())
		{
			Text += " " + Narrow(Pin->PinType.PinSubCategory.ToString());
		}
		Text += Pin->PinType.IsArray() ? " array)" : ")";
	}
	return Text;
}

template <typename NodeType>
NodeType* PlaceNode(UEdGraph* Graph)
{
	FGraphNodeCreator<NodeType> Creator(*Graph);
	NodeType* Node = Creator.CreateNode();
	Creator.Finalize();
	return Node;
}
} // namespace

struct FNodesAct::FState
{
	UEdGraph* Graph = nullptr;
	UKorvatGetValue* Get = nullptr;
	UKorvatD2ISendData* Send = nullptr;
	BlueprintGraphTesting::FExpansion Expansion;
	std::unique_ptr<BlueprintGraphTesting::FGraphExecutor> Executor;
	std::string LastOutcome;
};

FNodesAct::FNodesAct(std::function<void(const std::string&)> InSay)
	: Say(std::move(InSay))
	, State(std::make_unique<FState>())
{
}

FNodesAct::~FNodesAct()
{
	if (State->Graph != nullptr)
	{
		State->Graph->RemoveFromRoot();
	}
}

void FNodesAct::BuildGraph()
{
	State->Graph = NewObject<UEdGraph>(GetTransientPackage(), FName(TEXT("KorvatDemoGraph")));
	State->Graph->Schema = UEdGraphSchema_K2::StaticClass();
	// Kept alive as an open Blueprint's graph is.
	State->Graph->AddToRoot();

	State->Get = PlaceNode<UKorvatGetValue>(State->Graph);
	State->Get->type = KorvatType::Int;
	State->Get->ReconstructNode();
	State->Get->FindPin(TEXT("Node"))->DefaultValue = TEXT("Door");
	State->Get->FindPin(TEXT("Field"))->DefaultValue = TEXT("Width");
	Say("graph: \"" + Narrow(State->Get->GetNodeTitle(ENodeTitleType::FullTitle).ToString()) + "\" (type Integer, Node Door, Field Width): " +
		DescribePins(State->Get));

	State->Send = PlaceNode<UKorvatD2ISendData>(State->Graph);
	State->Send->nodeInKorvatToSyncFrom = TEXT("Lamp");
	State->Send->FindPin(TEXT("Node"))->DefaultValue = TEXT("Lamp");
	Say("graph: \"" + Narrow(State->Send->GetNodeTitle(ENodeTitleType::FullTitle).ToString()) +
		"\" following host node Lamp, before the sync: " + DescribePins(State->Send));
}

void FNodesAct::ClickDoSync()
{
	const TSharedRef<PropertyEditorTesting::FDetailsPanel> Panel = PropertyEditorTesting::ShowDetails({State->Send});
	for (const PropertyEditorTesting::FCustomRow& Row : Panel->GetCustomRows())
	{
		Say("details panel: category \"" + Narrow(Row.Category.ToString()) + "\", row \"" + Narrow(Row.FilterString.ToString()) + "\"");
	}
	FReply Reply = FReply::Unhandled();
	const bool bClicked = Panel->ClickButton(FText::FromString(TEXT("Do Sync")), &Reply);
	Say(bClicked && Reply.IsEventHandled() ? "details panel: \"Do Sync\" clicked: the node asks the host for Lamp's fields"
										   : "details panel: no \"Do Sync\" button to click");
}

bool FNodesAct::WireSyncedPins()
{
	Say("graph: the host's answer rebuilt the node's pins: " + DescribePins(State->Send));
	UEdGraphPin* Width = State->Send->FindPin(TEXT("width_int"));
	UEdGraphPin* On = State->Send->FindPin(TEXT("on_bool"));
	if (Width == nullptr || On == nullptr)
	{
		Say("graph: the synced node lacks the width and on pins");
		return false;
	}
	State->Get->GetThenPin()->MakeLinkTo(State->Send->GetExecPin());
	State->Get->FindPin(TEXT("Result"))->MakeLinkTo(Width);
	State->Get->FindPin(TEXT("IsValid"))->MakeLinkTo(On);
	Say("graph: Get's then -> Send's execute, Result -> width, IsValid -> on");
	return true;
}

bool FNodesAct::Compile()
{
	State->Expansion = BlueprintGraphTesting::ExpandGraph(State->Graph);
	std::string Calls;
	for (const UEdGraphNode* Node : State->Expansion.IntermediateNodes)
	{
		const UK2Node_CallFunction* Call = Cast<UK2Node_CallFunction>(Node);
		const UFunction* Function = Call ? Call->GetTargetFunction() : nullptr;
		Calls += (Calls.empty() ? "" : ", ") + (Function ? Narrow(Function->GetName()) : std::string("?"));
	}
	Say("compiled: " + std::to_string(State->Expansion.IntermediateNodes.Num()) + " calls (" + Calls + "), " +
		std::to_string(State->Expansion.NumErrors) + " errors");
	if (State->Expansion.IntermediateNodes.IsEmpty() || State->Expansion.NumErrors > 0)
	{
		return false;
	}
	State->Executor = std::make_unique<BlueprintGraphTesting::FGraphExecutor>(State->Graph);
	return true;
}

bool FNodesAct::RunFrame()
{
	if (!State->Executor || !State->Executor->Run(State->Expansion.IntermediateNodes[0]))
	{
		const TArray<FString>* Errors = State->Executor ? &State->Executor->GetErrors() : nullptr;
		Say("graph run failed" + (Errors && !Errors->IsEmpty() ? ": " + Narrow(Errors->Last()) : std::string()));
		return false;
	}
	const UEdGraphNode* Getter = State->Expansion.IntermediateNodes[0];
	const int32* Width = State->Executor->GetOutputValue<int32>(Getter->FindPin(TEXT("ReturnValue")));
	const bool* bAvailable = State->Executor->GetOutputValue<bool>(Getter->FindPin(TEXT("isAvailable")));
	const std::string Outcome = "Door.Width read " + (Width ? std::to_string(*Width) : std::string("?")) + " (" +
		(bAvailable && *bAvailable ? "available" : "not available") + "), sent to Lamp.width and Lamp.on";
	// The graph runs every frame, as an event tick does; the transcript tells only what changed.
	if (Outcome != State->LastOutcome)
	{
		Say("graph ran: " + Outcome);
		State->LastOutcome = Outcome;
	}
	return true;
}
} // namespace Korvat::Sandbox
