// The editor module's Korvat nodes in the stand-in editor: the field model, the pins and texts of the four nodes,
// their expansion as the Blueprint compiler expands them, field lists asked of the host and answered for it, the
// details-panel button, and an expanded graph run frame by frame against the host simulator.
#include "ModuleTestSupport.h"

#include "BlueprintGraphTesting.h"
#include "BlueprintNodeSpawner.h"
#include "Blueprints/TextureShareBlueprintContainers.h"
#include "CoreUObjectTesting.h"
#include "EdGraph/EdGraph.h"
#include "EdGraphSchema_K2.h"
#include "K2Node_CallFunction.h"
#include "PropertyEditorTesting.h"
#include "StandInTesting.h"
#include "Textures/SlateIcon.h"
#include "UObject/Package.h"
#include "UObject/UObjectGlobals.h"

#include "KorvatD2IGetData.h"
#include "KorvatD2ISendData.h"
#include "KorvatGetValue.h"
#include "KorvatPluginModule.h"
#include "KorvatSendValue.h"
#include "KorvatValueId.h"

#include <algorithm>
#include <map>
#include <tuple>

namespace Korvat::ModuleTesting
{
namespace
{
namespace Tag = Korvat::UE4::Tag;
using Korvat::UE4::FieldDescriptor;

std::string Utf8(const FString& Text)
{
	return TCHAR_TO_UTF8(*Text);
}

std::string Utf8(const FText& Text)
{
	return Utf8(Text.ToString());
}

std::uint32_t IdOf(const std::string& Name)
{
	return Korvat::ValueIdOfBytes(reinterpret_cast<const std::uint8_t*>(Name.data()), Name.size());
}

/** A pin as "direction name category[/sub-category][[]]" for comparing pin lists. */
std::string DescribePin(const UEdGraphPin* Pin)
{
	std::string Text = Pin->Direction == EGPD_Input ? "in " : "out ";
	Text += Utf8(Pin->PinName.ToString()) + " " + Utf8(Pin->PinType.PinCategory.ToString());
	if (!Pin->PinType.PinSubCategory.IsNone())
	{
		Text += "/" + Utf8(Pin->PinType.PinSubCategory.ToString());
	}
	if (Pin->PinType.IsArray())
	{
		Text += "[]";
	}
	if (Pin->bOrphanedPin)
	{
		Text += " orphaned";
	}
	return Text;
}

std::vector<std::string> DescribePins(const UEdGraphNode* Node)
{
	std::vector<std::string> Pins;
	for (const UEdGraphPin* Pin : Node->Pins)
	{
		Pins.push_back(DescribePin(Pin));
	}
	return Pins;
}

/** The function an intermediate node calls, or "" for another kind of node. */
std::string CalledFunction(const UEdGraphNode* Node)
{
	const UK2Node_CallFunction* Call = Cast<UK2Node_CallFunction>(Node);
	const UFunction* Function = Call ? Call->GetTargetFunction() : nullptr;
	return Function ? Utf8(Function->GetName()) : "";
}

std::vector<std::string> CalledFunctions(const BlueprintGraphTesting::FExpansion& Expansion)
{
	std::vector<std::string> Names;
	for (const UEdGraphNode* Node : Expansion.IntermediateNodes)
	{
		Names.push_back(CalledFunction(Node));
	}
	return Names;
}

UEdGraph* NewGraph()
{
	UEdGraph* Graph = NewObject<UEdGraph>(GetTransientPackage());
	Graph->Schema = UEdGraphSchema_K2::StaticClass();
	return Graph;
}

template <typename NodeType>
NodeType* PlaceNode(UEdGraph* Graph)
{
	FGraphNodeCreator<NodeType> Creator(*Graph);
	NodeType* Node = Creator.CreateNode();
	Creator.Finalize();
	return Node;
}

FKorvatNodeField Field(KorvatType Type, const TCHAR* Name, KorvatCommunicationDirection Direction = KorvatCommunicationDirection::ToKorvat)
{
	FKorvatNodeField Result;
	Result.fieldType = Type;
	Result.fieldName = Name;
	Result.direction = Direction;
	return Result;
}

/** A field-list payload: the request GUID bytes, then type, flag, name and NUL per field. */
std::vector<std::uint8_t> FieldListPayload(const std::vector<std::uint8_t>& Guid, const std::vector<FieldDescriptor>& Fields)
{
	std::vector<std::uint8_t> Payload(Guid.begin(), Guid.begin() + 16);
	for (const FieldDescriptor& Described : Fields)
	{
		Payload.push_back(static_cast<std::uint8_t>(Described.Type));
		Payload.push_back(Described.IsFromKorvat ? 1 : 0);
		Payload.insert(Payload.end(), Described.Name.begin(), Described.Name.end());
		Payload.push_back(0);
	}
	return Payload;
}

/** The fields of a field-list payload. */
std::vector<FieldDescriptor> FieldsOf(const std::vector<std::uint8_t>& Payload)
{
	std::vector<FieldDescriptor> Fields;
	std::size_t At = 16;
	while (At + 2 <= Payload.size())
	{
		FieldDescriptor Described{Payload[At], Payload[At + 1] != 0, ""};
		At += 2;
		while (At < Payload.size() && Payload[At] != 0)
		{
			Described.Name.push_back(static_cast<char>(Payload[At++]));
		}
		++At;
		Fields.push_back(Described);
	}
	return Fields;
}

/** Sets a node property through the details panel's notifications. */
template <typename ValueType>
void EditProperty(UObject* Object, const TCHAR* Property, ValueType Value)
{
	PropertyEditorTesting::EditProperty(Object, FName(Property), [Value](void* Address) { *static_cast<ValueType*>(Address) = Value; });
}

TEST(EditorFieldModel, FixNameRepairsNamesOneUnitAtATime)
{
	struct FCase
	{
		const TCHAR* Name;
		KorvatType Type;
		int32 Index;
		const char* Expected;
	};
	const FCase Cases[] = {
		{TEXT("speed"), KorvatType::Float, 0, "speed"},
		{TEXT("3d pos"), KorvatType::Float, 0, "_3d_pos"},
		{TEXT(" x"), KorvatType::Float, 0, "__x"},
		{TEXT("a-b.c"), KorvatType::Float, 0, "a_b_c"},
		{TEXT("Gr\u00F6\u00DFe"), KorvatType::Float, 0, "Gr__e"},
		{TEXT("_hidden"), KorvatType::Float, 0, "_hidden"},
		{TEXT("9"), KorvatType::Float, 0, "_9"},
		{TEXT(""), KorvatType::IntArray, 0, "IntArray_0"},
		{TEXT(""), KorvatType::Bool, 2, "Bool_2"},
		{TEXT("\u00E9t\u00E9"), KorvatType::Float, 0, "__t_"},
	};
	for (const FCase& Case : Cases)
	{
		EXPECT_EQ(Utf8(UKorvatD2ISyncNodeBase::FixName(Case.Index, Field(Case.Type, Case.Name))), Case.Expected) << Utf8(FString(Case.Name));
	}
}

TEST(EditorFieldModel, FieldTypesGiveTheirPinTypesAndNames)
{
	const std::pair<KorvatType, const char*> Types[] = {
		{KorvatType::Float, "real/float"},
		{KorvatType::Int, "int"},
		{KorvatType::Bool, "bool"},
		{KorvatType::String, "string"},
		{KorvatType::FloatArray, "real/float[]"},
		{KorvatType::IntArray, "int[]"},
		{KorvatType::BoolArray, "bool[]"},
		{KorvatType::StringArray, "string[]"},
		{static_cast<KorvatType>(8), "wildcard"},
	};
	for (const auto& [Type, Expected] : Types)
	{
		const FEdGraphPinType PinType = FieldPinType(Type);
		std::string Text = Utf8(PinType.PinCategory.ToString());
		if (!PinType.PinSubCategory.IsNone())
		{
			Text += "/" + Utf8(PinType.PinSubCategory.ToString());
		}
		if (PinType.IsArray())
		{
			Text += "[]";
		}
		EXPECT_EQ(Text, Expected);
		EXPECT_FALSE(PinType.bIsReference);
	}
	EXPECT_EQ(Utf8(FieldPinName(Field(KorvatType::FloatArray, TEXT("speed"))).ToString()), "speed_floatArray");
	EXPECT_EQ(Utf8(FieldPinName(Field(KorvatType::Int, TEXT("count"))).ToString()), "count_int");
	EXPECT_EQ(Utf8(FieldPinName(Field(KorvatType::StringArray, TEXT("tags"))).ToString()), "tags_stringArray");
	EXPECT_EQ(Utf8(FieldPinName(Field(static_cast<KorvatType>(9), TEXT("odd"))).ToString()), "odd_wildcard");

	const UEnum* Enum = StaticEnum<KorvatType>();
	EXPECT_EQ(Utf8(Enum->GetDisplayNameTextByValue(5)), "IntegerArray");
	EXPECT_EQ(Utf8(Enum->GetNameStringByValue(5)), "IntArray");
	EXPECT_NE(Enum->GetMetaData(TEXT("ToolTip")).Find(TEXT("host's field-type enumeration")), INDEX_NONE);
}

TEST(EditorFieldModel, FieldsAndDescriptorsConvertBothWays)
{
	const FieldDescriptor Received{6, true, "fl\xC3\xA4gs"};
	const FKorvatNodeField FromHost = FieldFromDescriptor(Received, KorvatCommunicationDirection::FromKorvat);
	EXPECT_EQ(FromHost.fieldType, KorvatType::BoolArray);
	EXPECT_EQ(FromHost.direction, KorvatCommunicationDirection::FromKorvat);
	EXPECT_EQ(FromHost.fieldName, FString(TEXT("fl\u00E4gs")));
	EXPECT_EQ(FromHost.FieldPin, nullptr);
	// Only the low byte of the type is kept.
	EXPECT_EQ(static_cast<int32>(FieldFromDescriptor(FieldDescriptor{0x103, false, "x"}, KorvatCommunicationDirection::ToKorvat).fieldType), 3);

	EXPECT_EQ(DescriptorFromField(Field(KorvatType::String, TEXT("n\u00E4me"))), (FieldDescriptor{3, false, "n\xC3\xA4me"}));
	EXPECT_EQ(DescriptorFromField(Field(KorvatType::Int, TEXT("i"), KorvatCommunicationDirection::FromKorvat)), (FieldDescriptor{1, true, "i"}));

	EXPECT_EQ(FKorvatNodeFieldFromKorvat().direction, KorvatCommunicationDirection::FromKorvat);
	EXPECT_EQ(FKorvatNodeFieldToKorvat().direction, KorvatCommunicationDirection::ToKorvat);
	EXPECT_EQ(FKorvatNodeField().fieldType, KorvatType::Float);
}

class EditorNodesTest : public ModuleTest
{
protected:
	void StartEditor(bool bWithHost = true)
	{
		if (bWithHost)
		{
			StartHost();
		}
		StartEngine(SandboxOptions(TEXT("D3D11"), true));
		if (bWithHost)
		{
			ASSERT_TRUE(RunUntilConnected());
		}
	}
};

TEST_F(EditorNodesTest, SingleFieldNodesHaveTheirPinsTextsAndMenuEntries)
{
	StartEditor(false);
	UEdGraph* Graph = NewGraph();
	UKorvatGetValue* Get = PlaceNode<UKorvatGetValue>(Graph);
	UKorvatSendValue* SendNode = PlaceNode<UKorvatSendValue>(Graph);

	EXPECT_EQ(DescribePins(Get), (std::vector<std::string>{"in execute exec", "out then exec", "in Node string", "in Field string",
									 "out IsValid bool", "out Result real/float"}));
	EXPECT_EQ(DescribePins(SendNode),
		(std::vector<std::string>{"in execute exec", "out then exec", "in Node string", "in Field string", "in Value real/float"}));
	EXPECT_EQ(Utf8(Get->FindPin(TEXT("Node"))->DefaultValue), "KorvatNode");
	EXPECT_EQ(Utf8(Get->FindPin(TEXT("Field"))->DefaultValue), "NodeField");

	EXPECT_EQ(Utf8(Get->GetNodeTitle(ENodeTitleType::FullTitle)), "Get Korvat Value");
	EXPECT_EQ(Utf8(SendNode->GetNodeTitle(ENodeTitleType::MenuTitle)), "Send Korvat Value");
	EXPECT_EQ(Utf8(Get->GetTooltipText()), "Adds a node that can be used to retrieve a single value from Korvat");
	EXPECT_EQ(Utf8(SendNode->GetTooltipText()), "Adds a node that can be used to send a single value to Korvat");
	EXPECT_EQ(Utf8(Get->GetMenuCategory()), "Korvat");
	EXPECT_TRUE(Get->ShouldShowNodeProperties());
	FLinearColor Tint = FLinearColor::White;
	const FSlateIcon Icon = SendNode->GetIconAndTint(Tint);
	EXPECT_EQ(Icon.GetStyleSetName(), FName(TEXT("EditorStyle")));
	EXPECT_EQ(Icon.GetStyleName(), FName(TEXT("Kismet.AllClasses.VariableIcon")));
	EXPECT_EQ(UKorvatGetValue::StaticClass()->GetMetaData(TEXT("ToolTip")), TEXT("From Korvat Single Field Node"));
	EXPECT_EQ(UKorvatSendValue::StaticClass()->GetMetaData(TEXT("ToolTip")), TEXT("To Korvat Single Field Node"));

	const TArray<BlueprintGraphTesting::FMenuAction> Actions = BlueprintGraphTesting::GetMenuActions(UKorvatGetValue::StaticClass());
	ASSERT_EQ(Actions.Num(), 1);
	EXPECT_EQ(Actions[0].ActionKey, UKorvatGetValue::StaticClass());
	EXPECT_TRUE(BlueprintGraphTesting::GetMenuActions(UKorvatSendValue::StaticClass(), UKorvatGetValue::StaticClass()).IsEmpty());
}

TEST_F(EditorNodesTest, ChangingTheTypeRebuildsTheValuePinAndKeepsFittingLinks)
{
	StartEditor(false);
	UEdGraph* Graph = NewGraph();
	UKorvatGetValue* Get = PlaceNode<UKorvatGetValue>(Graph);
	UKorvatSendValue* SendNode = PlaceNode<UKorvatSendValue>(Graph);
	Get->FindPin(TEXT("Result"))->MakeLinkTo(SendNode->FindPin(TEXT("Value")));

	EditProperty(Get, TEXT("type"), KorvatType::StringArray);
	EXPECT_EQ(DescribePin(Get->FindPin(TEXT("Result"))), "out Result string[]");
	// The float link no longer fits: the engine keeps it on an orphaned pin rather than dropping it.
	const UEdGraphPin* Orphan = nullptr;
	for (const UEdGraphPin* Pin : Get->Pins)
	{
		Orphan = Pin->bOrphanedPin ? Pin : Orphan;
	}
	ASSERT_NE(Orphan, nullptr);
	EXPECT_EQ(Orphan->LinkedTo.Num(), 1);

	// Back and forth between two types leaves one result pin.
	UKorvatGetValue* Other = PlaceNode<UKorvatGetValue>(Graph);
	EditProperty(Other, TEXT("type"), KorvatType::Int);
	EditProperty(Other, TEXT("type"), KorvatType::Float);
	EXPECT_EQ(DescribePins(Other), (std::vector<std::string>{"in execute exec", "out then exec", "in Node string", "in Field string",
									   "out IsValid bool", "out Result real/float"}));
}

TEST_F(EditorNodesTest, SingleFieldNodesExpandIntoTheLibraryCallOfTheirType)
{
	StartEditor(false);
	static const char* const TypeNames[] = {"Float", "Int", "Bool", "String", "FloatArray", "IntArray", "BoolArray", "StringArray"};
	for (int32 Type = 0; Type < 8; ++Type)
	{
		SCOPED_TRACE(TypeNames[Type]);
		const std::string Suffix = Type < 4 ? "Value" : "Array";
		const std::string Kind = std::string(TypeNames[Type]).substr(0, std::string(TypeNames[Type]).size() - (Type < 4 ? 0 : 5));
		{
			UEdGraph* Graph = NewGraph();
			UKorvatGetValue* Get = PlaceNode<UKorvatGetValue>(Graph);
			Get->type = static_cast<KorvatType>(Type);
			Get->ReconstructNode();
			UKorvatSendValue* Consumer = PlaceNode<UKorvatSendValue>(Graph);
			Consumer->type = Get->type;
			Consumer->ReconstructNode();
			Get->FindPin(TEXT("Result"))->MakeLinkTo(Consumer->FindPin(TEXT("Value")));
			Get->FindPin(TEXT("then"))->MakeLinkTo(Consumer->GetExecPin());
			Get->FindPin(TEXT("Field"))->DefaultValue = TEXT("typed");

			const BlueprintGraphTesting::FExpansion Expansion = BlueprintGraphTesting::ExpandGraph(Graph);
			EXPECT_EQ(Expansion.NumErrors, 0);
			EXPECT_EQ(CalledFunctions(Expansion),
				(std::vector<std::string>{"GetKorvat" + Kind + Suffix + "ByNodeName", "SendKorvat" + Kind + Suffix + "ByNodeName"}));
			const UEdGraphNode* Getter = Expansion.IntermediateNodes[0];
			const UEdGraphNode* Sender = Expansion.IntermediateNodes[1];
			EXPECT_EQ(Expansion.SourceNodes.FindRef(const_cast<UEdGraphNode*>(Getter)), Get);
			EXPECT_EQ(Utf8(Getter->FindPin(TEXT("nodeName"))->DefaultValue), "KorvatNode");
			EXPECT_EQ(Utf8(Getter->FindPin(TEXT("fieldName"))->DefaultValue), "typed");
			ASSERT_EQ(Getter->FindPin(TEXT("ReturnValue"))->LinkedTo.Num(), 1);
			EXPECT_EQ(Getter->FindPin(TEXT("ReturnValue"))->LinkedTo[0], Sender->FindPin(TEXT("value")));
			ASSERT_EQ(Getter->FindPin(TEXT("then"))->LinkedTo.Num(), 1);
			EXPECT_EQ(Getter->FindPin(TEXT("then"))->LinkedTo[0]->GetOwningNode(), Sender);
			EXPECT_TRUE(Get->FindPin(TEXT("Result"))->LinkedTo.IsEmpty());
		}
	}
}

TEST_F(EditorNodesTest, MultiFieldGetExpandsIntoAChainWithTheAvailabilityOfEveryField)
{
	StartEditor(false);
	UEdGraph* Graph = NewGraph();
	UKorvatD2IGetData* Get = PlaceNode<UKorvatD2IGetData>(Graph);
	Get->UpdateNodeFields({{0, true, "speed"}, {5, true, "levels"}, {3, false, "ignored"}, {3, true, "title"}});
	EXPECT_EQ(DescribePins(Get), (std::vector<std::string>{"in execute exec", "out then exec", "in Node string", "out IsValid bool",
									 "out speed_float real/float", "out levels_intArray int[]", "out title_string string"}));
	EXPECT_EQ(Utf8(Get->FindPin(TEXT("Node"))->DefaultValue), "Korvat Node");
	EXPECT_EQ(Utf8(Get->FindPin(TEXT("levels_intArray"))->PinFriendlyName), "levels");
	EXPECT_EQ(Get->fromKorvatFields[1].FieldPin, Get->FindPin(TEXT("levels_intArray")));

	UKorvatD2ISendData* Sink = PlaceNode<UKorvatD2ISendData>(Graph);
	Sink->UpdateNodeFields({{0, false, "speed"}, {2, false, "ok"}});
	Get->FindPin(TEXT("speed_float"))->MakeLinkTo(Sink->FindPin(TEXT("speed_float")));
	Get->FindPin(TEXT("IsValid"))->MakeLinkTo(Sink->FindPin(TEXT("ok_bool")));
	Get->GetThenPin()->MakeLinkTo(Sink->GetExecPin());

	const BlueprintGraphTesting::FExpansion Expansion = BlueprintGraphTesting::ExpandGraph(Graph);
	EXPECT_EQ(CalledFunctions(Expansion),
		(std::vector<std::string>{"GetKorvatFloatValueByNodeName", "GetKorvatIntArrayByNodeName", "BooleanAND", "GetKorvatStringValueByNodeName",
			"BooleanAND", "SendKorvatFloatValueByNodeName", "SendKorvatBoolValueByNodeName"}));
	const TArray<UEdGraphNode*>& Nodes = Expansion.IntermediateNodes;
	EXPECT_EQ(Utf8(Nodes[1]->FindPin(TEXT("fieldName"))->DefaultValue), "levels");
	// The getters run in field order, then the sink's senders.
	EXPECT_EQ(Nodes[0]->FindPin(TEXT("then"))->LinkedTo[0]->GetOwningNode(), Nodes[1]);
	EXPECT_EQ(Nodes[1]->FindPin(TEXT("then"))->LinkedTo[0]->GetOwningNode(), Nodes[3]);
	EXPECT_EQ(Nodes[3]->FindPin(TEXT("then"))->LinkedTo[0]->GetOwningNode(), Nodes[5]);
	// IsValid is the second AND, of the first AND and the third getter.
	EXPECT_EQ(Nodes[2]->FindPin(TEXT("A"))->LinkedTo[0]->GetOwningNode(), Nodes[0]);
	EXPECT_EQ(Nodes[2]->FindPin(TEXT("B"))->LinkedTo[0]->GetOwningNode(), Nodes[1]);
	EXPECT_EQ(Nodes[4]->FindPin(TEXT("A"))->LinkedTo[0]->GetOwningNode(), Nodes[2]);
	EXPECT_EQ(Nodes[4]->FindPin(TEXT("B"))->LinkedTo[0]->GetOwningNode(), Nodes[3]);
	EXPECT_EQ(Nodes[6]->FindPin(TEXT("value"))->LinkedTo[0]->GetOwningNode(), Nodes[4]);
	EXPECT_EQ(Nodes[5]->FindPin(TEXT("value"))->LinkedTo[0]->GetOwningNode(), Nodes[0]);
	for (const UEdGraphPin* Pin : Get->Pins)
	{
		EXPECT_TRUE(Pin->LinkedTo.IsEmpty()) << Utf8(Pin->PinName.ToString());
	}

	// A node without fields expands to nothing and drops its links.
	UEdGraph* EmptyGraph = NewGraph();
	UKorvatD2IGetData* Empty = PlaceNode<UKorvatD2IGetData>(EmptyGraph);
	UKorvatSendValue* After = PlaceNode<UKorvatSendValue>(EmptyGraph);
	Empty->GetThenPin()->MakeLinkTo(After->GetExecPin());
	const BlueprintGraphTesting::FExpansion Nothing = BlueprintGraphTesting::ExpandGraph(EmptyGraph);
	EXPECT_EQ(CalledFunctions(Nothing), std::vector<std::string>{"SendKorvatFloatValueByNodeName"});
	EXPECT_TRUE(Empty->GetThenPin()->LinkedTo.IsEmpty());
}

TEST_F(EditorNodesTest, EditingTheFieldArraysRepairsNamesAndOrphansRetypedPins)
{
	StartEditor(false);
	UEdGraph* Graph = NewGraph();
	UKorvatD2IGetData* Get = PlaceNode<UKorvatD2IGetData>(Graph);
	PropertyEditorTesting::AddArrayElement(Get, TEXT("fromKorvatFields"));
	PropertyEditorTesting::AddArrayElement(Get, TEXT("fromKorvatFields"));
	const int32 Third = PropertyEditorTesting::AddArrayElement(Get, TEXT("fromKorvatFields"));
	ASSERT_EQ(Third, 2);
	EXPECT_EQ(Get->fromKorvatFields[2].direction, KorvatCommunicationDirection::FromKorvat);
	EXPECT_EQ(Get->fromKorvatFields[2].fieldType, KorvatType::Float);
	EXPECT_EQ(Utf8(Get->fromKorvatFields[2].fieldName), "Float_2");
	EXPECT_NE(Get->FindPin(TEXT("Float_2_float")), nullptr);

	PropertyEditorTesting::EditArrayElementMember(Get, TEXT("fromKorvatFields"), 0, TEXT("fieldName"),
		[](void* Value) { *static_cast<FString*>(Value) = TEXT("my value"); });
	EXPECT_EQ(Utf8(Get->fromKorvatFields[0].fieldName), "my_value");
	EXPECT_NE(Get->FindPin(TEXT("my_value_float")), nullptr);
	for (const UEdGraphPin* Pin : Get->Pins)
	{
		EXPECT_FALSE(Pin->bOrphanedPin) << Utf8(Pin->PinName.ToString());
	}

	// A linked field whose type changes keeps its link on an orphaned pin.
	UKorvatSendValue* Consumer = PlaceNode<UKorvatSendValue>(Graph);
	Get->FindPin(TEXT("my_value_float"))->MakeLinkTo(Consumer->FindPin(TEXT("Value")));
	PropertyEditorTesting::EditArrayElementMember(Get, TEXT("fromKorvatFields"), 0, TEXT("fieldType"),
		[](void* Value) { *static_cast<KorvatType*>(Value) = KorvatType::String; });
	EXPECT_NE(Get->FindPin(TEXT("my_value_string")), nullptr);
	const UEdGraphPin* Old = Get->FindPin(TEXT("my_value_float"));
	ASSERT_NE(Old, nullptr);
	EXPECT_TRUE(Old->bOrphanedPin);
	EXPECT_EQ(Old->LinkedTo.Num(), 1);
}

TEST_F(EditorNodesTest, DoSyncAsksTheHostAndItsAnswerRebuildsThePins)
{
	StartEditor();
	UEdGraph* Graph = NewGraph();
	UKorvatD2ISendData* SendNode = PlaceNode<UKorvatD2ISendData>(Graph);
	SendNode->nodeInKorvatToSyncFrom = TEXT("Lamp");

	const TSharedRef<PropertyEditorTesting::FDetailsPanel> Panel = PropertyEditorTesting::ShowDetails({SendNode});
	const TArray<PropertyEditorTesting::FCustomRow> Rows = Panel->GetCustomRows();
	ASSERT_EQ(Rows.Num(), 1);
	EXPECT_EQ(Rows[0].Category, FName(TEXT("Custom Data Model Sync")));
	EXPECT_EQ(Utf8(Rows[0].FilterString), "Sync Node Fields From Korvat");
	FReply Reply = FReply::Unhandled();
	ASSERT_TRUE(Panel->ClickButton(FText::FromString(TEXT("Do Sync")), &Reply));
	EXPECT_TRUE(Reply.IsEventHandled());

	RunFrames(2);
	CollectReceived();
	const std::vector<std::vector<std::uint8_t>> Questions = PayloadsOf(Tag::FLDQ);
	ASSERT_EQ(Questions.size(), 1u);
	ASSERT_EQ(Questions[0].size(), 16u + 5u);
	EXPECT_EQ(std::string(Questions[0].begin() + 16, Questions[0].end()), std::string("lamp\0", 5));

	// The answer: one field the host receives, one it sends (not for a SendNode node).
	Send(Tag::FLDS, FieldListPayload(Questions[0], {{5, false, "levels"}, {0, true, "heat"}}));
	RunFrames(2);
	ASSERT_EQ(SendNode->toKorvatFields.Num(), 1);
	EXPECT_EQ(Utf8(SendNode->toKorvatFields[0].fieldName), "levels");
	EXPECT_NE(SendNode->FindPin(TEXT("levels_intArray")), nullptr);
}

TEST_F(EditorNodesTest, TheEditorAnswersTheHostsQuestionsFromTheLoadedNodes)
{
	StartEditor();
	UEdGraph* Graph = NewGraph();
	UKorvatD2IGetData* Get = PlaceNode<UKorvatD2IGetData>(Graph);
	Get->nodeInKorvatToSyncFrom = TEXT("mynode");
	Get->UpdateNodeFields({{0, true, "a"}, {1, true, "b"}});
	UKorvatD2IGetData* Twin = PlaceNode<UKorvatD2IGetData>(Graph);
	Twin->nodeInKorvatToSyncFrom = TEXT("MYNODE");
	Twin->UpdateNodeFields({{1, true, "b"}});
	UKorvatD2ISendData* SendNode = PlaceNode<UKorvatD2ISendData>(Graph);
	SendNode->nodeInKorvatToSyncFrom = TEXT("MyNode");
	SendNode->UpdateNodeFields({{3, false, "c"}, {1, false, "b"}});
	UKorvatD2ISendData* Elsewhere = PlaceNode<UKorvatD2ISendData>(Graph);
	Elsewhere->nodeInKorvatToSyncFrom = TEXT("other");
	Elsewhere->UpdateNodeFields({{3, false, "z"}});

	// Two questions before one tick: each is answered once, an unknown name with an empty list.
	const std::vector<std::uint8_t> First = {1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1};
	const std::vector<std::uint8_t> Second = {2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 2};
	std::vector<std::uint8_t> Question = First;
	for (char Char : std::string("MyNode"))
	{
		Question.push_back(static_cast<std::uint8_t>(Char));
	}
	Question.push_back(0);
	Send(Tag::FLDQ, Question);
	Question = Second;
	for (char Char : std::string("nobody"))
	{
		Question.push_back(static_cast<std::uint8_t>(Char));
	}
	Question.push_back(0);
	Send(Tag::FLDQ, Question);
	ForgetReceived();
	RunFrames(3);
	CollectReceived();
	const std::vector<std::vector<std::uint8_t>> Answers = PayloadsOf(Tag::FLDS);
	ASSERT_EQ(Answers.size(), 2u);
	std::map<std::uint8_t, std::vector<FieldDescriptor>> ByQuestion;
	for (const std::vector<std::uint8_t>& Answer : Answers)
	{
		ASSERT_GE(Answer.size(), 16u);
		ByQuestion[Answer[0]] = FieldsOf(Answer);
	}
	// The nodes come in the engine's order (not defined), each node's fields in array order; a field already listed
	// with the same direction and name appears once; an unknown name gets an empty list.
	EXPECT_TRUE(ByQuestion[2].empty());
	std::vector<FieldDescriptor> Answered = ByQuestion[1];
	const auto Position = [&Answered](const FieldDescriptor& Field) { return std::find(Answered.begin(), Answered.end(), Field) - Answered.begin(); };
	EXPECT_LT(Position({3, false, "c"}), Position({1, false, "b"}));
	auto ByName = [](const FieldDescriptor& A, const FieldDescriptor& B) { return std::tie(A.Name, A.IsFromKorvat) < std::tie(B.Name, B.IsFromKorvat); };
	std::sort(Answered.begin(), Answered.end(), ByName);
	EXPECT_EQ(Answered, (std::vector<FieldDescriptor>{{0, true, "a"}, {1, false, "b"}, {1, true, "b"}, {3, false, "c"}}));
}

TEST_F(EditorNodesTest, ANodeDestroyedWhileItsQuestionIsOpenNeverHearsTheAnswer)
{
	StartEditor();
	UEdGraph* Graph = NewGraph();
	UKorvatD2IGetData* Get = PlaceNode<UKorvatD2IGetData>(Graph);
	Get->nodeInKorvatToSyncFrom = TEXT("gone");
	Get->SyncFields();
	RunFrames(2);
	CollectReceived();
	const std::vector<std::vector<std::uint8_t>> Questions = PayloadsOf(Tag::FLDQ);
	ASSERT_EQ(Questions.size(), 1u);
	CoreUObjectTesting::DestroyObject(Get);

	Send(Tag::FLDS, FieldListPayload(Questions[0], {{1, true, "x"}}));
	RunFrames(3); // under the address sanitizer, a delivery to the destroyed node would fail here
	SUCCEED();
}

TEST_F(EditorNodesTest, AnExpandedGraphRunsAgainstTheHost)
{
	StartEditor();
	UEdGraph* Graph = NewGraph();
	UKorvatGetValue* Get = PlaceNode<UKorvatGetValue>(Graph);
	Get->type = KorvatType::Int;
	Get->ReconstructNode();
	Get->FindPin(TEXT("Node"))->DefaultValue = TEXT("Door");
	Get->FindPin(TEXT("Field"))->DefaultValue = TEXT("Width");
	UKorvatD2ISendData* SendNode = PlaceNode<UKorvatD2ISendData>(Graph);
	SendNode->UpdateNodeFields({{1, false, "width"}, {2, false, "known"}});
	SendNode->FindPin(TEXT("Node"))->DefaultValue = TEXT("Echo");
	Get->GetThenPin()->MakeLinkTo(SendNode->GetExecPin());
	Get->FindPin(TEXT("Result"))->MakeLinkTo(SendNode->FindPin(TEXT("width_int")));
	Get->FindPin(TEXT("IsValid"))->MakeLinkTo(SendNode->FindPin(TEXT("known_bool")));

	UTextureShareObject* Object = NewObject<UTextureShareObject>(GetTransientPackage());
	Module().RegisterTextureShare(MakeGuid(0x99, 0, 0, {}), Object);
	const BlueprintGraphTesting::FExpansion Expansion = BlueprintGraphTesting::ExpandGraph(Graph);
	ASSERT_EQ(CalledFunctions(Expansion),
		(std::vector<std::string>{"GetKorvatIntValueByNodeName", "SendKorvatIntValueByNodeName", "SendKorvatBoolValueByNodeName"}));
	BlueprintGraphTesting::FGraphExecutor Executor(Graph);

	// Frame 1: the host has sent nothing yet.
	ASSERT_TRUE(Executor.Run(Expansion.IntermediateNodes[0])) << (Executor.GetErrors().IsEmpty() ? "" : Utf8(Executor.GetErrors()[0]));
	auto Parameter = [&](const char* TagDigits, std::uint32_t Id) {
		char Key[64];
		std::snprintf(Key, sizeof(Key), "%s%02X%02X%02X%02X%s", TagDigits, Id & 0xFF, (Id >> 8) & 0xFF, (Id >> 16) & 0xFF, Id >> 24,
			std::string(32, '0').c_str());
		const FString* Value = Object->CustomData.SendParameters.Find(FString(Key));
		return Value ? Utf8(*Value) : std::string("(none)");
	};
	EXPECT_EQ(Parameter("56494E54", IdOf("echo.width")), "00000000" "00000000");
	EXPECT_EQ(Parameter("56424F4C", IdOf("echo.known")), "00000000" "00");

	// Frame 2: the host's value arrives and the graph passes it on.
	Send(Tag::VINT, Words({static_cast<std::int32_t>(IdOf("door.width")), 120}));
	RunFrames(2);
	ASSERT_TRUE(Executor.Run(Expansion.IntermediateNodes[0]));
	EXPECT_EQ(Parameter("56494E54", IdOf("echo.width")), "00000000" "78000000");
	EXPECT_EQ(Parameter("56424F4C", IdOf("echo.known")), "00000000" "01");
}

} // namespace
} // namespace Korvat::ModuleTesting
