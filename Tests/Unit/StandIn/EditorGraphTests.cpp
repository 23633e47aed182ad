// The stand-in's Blueprint graphs as a plug-in's nodes use them: the schema's names and connection rules, the
// pins of function calls, reconstruction, links moved and copied to intermediate nodes, graph expansion, the
// graph executor and the Blueprint action menu.
#include <gtest/gtest.h>

#include <string>

#include "BlueprintGraphTesting.h"
#include "BlueprintNodeSpawner.h"
#include "CoreUObjectTesting.h"
#include "EdGraph/EdGraph.h"
#include "EdGraph/EdGraphPin.h"
#include "EdGraphSchema_K2.h"
#include "EditorFixtureClasses.h"
#include "K2Node_CallFunction.h"
#include "KismetCompiler.h"
#include "Kismet/KismetMathLibrary.h"
#include "StandInTesting.h"
#include "Textures/SlateIcon.h"
#include "UObject/Package.h"

namespace
{
	std::string S(const FString& Text)
	{
		FTCHARToUTF8 Converted(*Text);
		return std::string(Converted.Get(), (size_t)Converted.Length());
	}

	std::string S(const FName& Name)
	{
		return S(Name.ToString());
	}

	std::string S(const FText& Text)
	{
		return S(Text.ToString());
	}

	/** Name, direction and category of each pin, e.g. "execute>exec". */
	std::string Describe(const UEdGraphNode* Node)
	{
		std::string Result;
		for (const UEdGraphPin* Pin : Node->Pins)
		{
			if (!Result.empty())
			{
				Result += " ";
			}
			Result += S(Pin->PinName) + (Pin->Direction == EGPD_Input ? ">" : "<") + S(Pin->PinType.PinCategory);
			if (!Pin->PinType.PinSubCategory.IsNone())
			{
				Result += "/" + S(Pin->PinType.PinSubCategory);
			}
			if (Pin->PinType.IsArray())
			{
				Result += "[]";
			}
			if (Pin->bOrphanedPin)
			{
				Result += "(orphan)";
			}
		}
		return Result;
	}

	class EditorGraph_test : public ::testing::Test
	{
	protected:
		void SetUp() override
		{
			StandInTesting::SetLogEchoToStderr(false);
			UEditorFixtureLibrary::CallLog.Empty();
			UEditorFixtureLibrary::Values.Empty();
			Graph = NewObject<UEdGraph>();
			Graph->Schema = UEdGraphSchema_K2::StaticClass();
		}

		void TearDown() override
		{
			CoreUObjectTesting::ResetObjects();
			// Destroyed pins are freed at the next tick.
			StandInTesting::TickAllTickables(0.0f);
			UEditorFixtureLibrary::CallLog.Empty();
			UEditorFixtureLibrary::Values.Empty();
		}

		template <typename NodeType>
		NodeType* PlaceNode()
		{
			FGraphNodeCreator<NodeType> Creator(*Graph);
			NodeType* Node = Creator.CreateNode();
			Creator.Finalize();
			return Node;
		}

		UK2Node_CallFunction* PlaceCall(const TCHAR* FunctionName, UClass* Class = UEditorFixtureLibrary::StaticClass())
		{
			FGraphNodeCreator<UK2Node_CallFunction> Creator(*Graph);
			UK2Node_CallFunction* Node = Creator.CreateNode();
			Node->SetFromFunction(Class->FindFunctionByName(FunctionName));
			Creator.Finalize();
			return Node;
		}

		static const UEdGraphSchema_K2* Schema() { return GetDefault<UEdGraphSchema_K2>(); }

		static void Link(UEdGraphPin* Output, UEdGraphPin* Input)
		{
			ASSERT_TRUE(Schema()->TryCreateConnection(Output, Input));
		}

		static void SetLiteral(UEdGraphNode* Node, const TCHAR* PinName, const TCHAR* Value)
		{
			Schema()->TrySetDefaultValue(*Node->FindPinChecked(PinName, EGPD_Input), Value);
		}

		UEdGraph* Graph = nullptr;
	};

	TEST_F(EditorGraph_test, SchemaNamesAreTheEngineLiterals)
	{
		EXPECT_EQ(S(UEdGraphSchema_K2::PC_Exec), "exec");
		EXPECT_EQ(S(UEdGraphSchema_K2::PC_Boolean), "bool");
		EXPECT_EQ(S(UEdGraphSchema_K2::PC_Int), "int");
		EXPECT_EQ(S(UEdGraphSchema_K2::PC_Real), "real");
		EXPECT_EQ(S(UEdGraphSchema_K2::PC_Float), "float");
		EXPECT_EQ(S(UEdGraphSchema_K2::PC_Double), "double");
		EXPECT_EQ(S(UEdGraphSchema_K2::PC_String), "string");
		EXPECT_EQ(S(UEdGraphSchema_K2::PC_Wildcard), "wildcard");
		EXPECT_EQ(S(UEdGraphSchema_K2::PC_Byte), "byte");
		EXPECT_EQ(S(UEdGraphSchema_K2::PC_Object), "object");
		EXPECT_EQ(S(UEdGraphSchema_K2::PN_Execute), "execute");
		EXPECT_EQ(S(UEdGraphSchema_K2::PN_Then), "then");
		EXPECT_EQ(S(UEdGraphSchema_K2::PN_Self), "self");
		EXPECT_EQ(S(UEdGraphSchema_K2::PN_ReturnValue), "ReturnValue");
		EXPECT_EQ(S(UK2Node::StaticClass()->GetPathName()), "/Script/BlueprintGraph.K2Node");
		EXPECT_EQ(S(UEdGraphNode::StaticClass()->GetPathName()), "/Script/Engine.EdGraphNode");
	}

	TEST_F(EditorGraph_test, CallNodePinsFollowTheReflectedFunction)
	{
		UK2Node_CallFunction* Get = PlaceCall(TEXT("GetFixtureFloat"));
		EXPECT_EQ(Describe(Get), "execute>exec then<exec self>object nodeName>string fieldName>string isAvailable<bool ReturnValue<real/float");
		EXPECT_FALSE(Get->IsNodePure());
		EXPECT_EQ(Get->GetExecPin(), Get->Pins[0]);
		EXPECT_EQ(Get->GetThenPin(), Get->Pins[1]);
		EXPECT_EQ(Get->GetReturnValuePin(), Get->Pins[6]);
		EXPECT_EQ(Get->GetTargetFunction(), UEditorFixtureLibrary::StaticClass()->FindFunctionByName(TEXT("GetFixtureFloat")));

		// A static function runs on its class's default object: the target pin is hidden and holds it.
		const UEdGraphPin* Self = Get->FindPinChecked(UEdGraphSchema_K2::PN_Self);
		EXPECT_TRUE(Self->bHidden);
		EXPECT_EQ(Self->DefaultObject.Get(), UEditorFixtureLibrary::StaticClass()->GetDefaultObject());
		EXPECT_EQ(Self->PinType.PinSubCategoryObject.Get(), UEditorFixtureLibrary::StaticClass());
		EXPECT_EQ(S(Self->PinFriendlyName), "Target");

		// 'const FString&' is an input by value: no reference, and it takes a literal.
		const UEdGraphPin* NodeName = Get->FindPinChecked(TEXT("nodeName"));
		EXPECT_FALSE(NodeName->PinType.bIsReference);
		EXPECT_FALSE(NodeName->bDefaultValueIsIgnored);
		EXPECT_EQ(S(NodeName->DefaultValue), "");
		EXPECT_EQ(S(Get->FindPinChecked(TEXT("isAvailable"))->AutogeneratedDefaultValue), "false");
		EXPECT_EQ(S(Get->GetReturnValuePin()->DefaultValue), "0.0");
		EXPECT_TRUE(Get->NodeGuid.IsValid());
	}

	TEST_F(EditorGraph_test, CallNodePinsOfArraysPureFunctionsReferencesAndDefaults)
	{
		EXPECT_EQ(Describe(PlaceCall(TEXT("GetFixtureFloatArray"))),
			"execute>exec then<exec self>object nodeName>string fieldName>string isAvailable<bool ReturnValue<real/float[]");
		EXPECT_EQ(Describe(PlaceCall(TEXT("SendFixtureFloatArray"))),
			"execute>exec then<exec self>object nodeName>string fieldName>string value>real/float[]");
		EXPECT_EQ(Describe(PlaceCall(TEXT("SendFixtureDouble"))), "execute>exec then<exec self>object nodeName>string value>real/double");

		UK2Node_CallFunction* Pure = PlaceCall(TEXT("MakeFixtureName"));
		EXPECT_TRUE(Pure->IsNodePure());
		EXPECT_EQ(Describe(Pure), "self>object prefix>string index>int ReturnValue<string");
		EXPECT_EQ(S(Pure->GetNodeTitle(ENodeTitleType::FullTitle)), "Make Fixture Name");
		EXPECT_EQ(Pure->GetExecPin(), nullptr);
		EXPECT_EQ(Pure->GetThenPin(), nullptr);

		// Defaults come from the C++ defaults the header tool recorded.
		UK2Node_CallFunction* Count = PlaceCall(TEXT("CountFixtureCalls"));
		EXPECT_EQ(Describe(Count), "execute>exec then<exec self>object step>int scale>real/double kind>byte label>string ReturnValue<int");
		EXPECT_EQ(S(Count->FindPinChecked(TEXT("step"))->DefaultValue), "2");
		EXPECT_EQ(S(Count->FindPinChecked(TEXT("scale"))->DefaultValue), "0.500000");
		EXPECT_EQ(S(Count->FindPinChecked(TEXT("kind"))->DefaultValue), "Int");
		EXPECT_EQ(Count->FindPinChecked(TEXT("kind"))->PinType.PinSubCategoryObject.Get(), StaticEnum<EditorFixtureValueType>());
		EXPECT_EQ(S(Count->FindPinChecked(TEXT("label"))->AutogeneratedDefaultValue), "calls");

		// A const reference to an array of structures is a reference input that takes no literal; a non-const
		// reference is an output.
		UK2Node_CallFunction* Sum = PlaceCall(TEXT("SumFixtureFields"));
		EXPECT_EQ(Describe(Sum), "execute>exec then<exec self>object fields>struct[] count<int");
		const UEdGraphPin* Fields = Sum->FindPinChecked(TEXT("fields"));
		EXPECT_EQ(Fields->PinType.PinSubCategoryObject.Get(), FEditorFixtureFieldFromHost::StaticStruct());
		EXPECT_TRUE(Fields->PinType.bIsReference);
		EXPECT_TRUE(Fields->PinType.bIsConst);
		EXPECT_TRUE(Fields->bDefaultValueIsIgnored);

		// A member function's target is a visible object pin without a default object.
		UK2Node_CallFunction* Member = PlaceCall(TEXT("Accumulate"), UEditorFixtureTarget::StaticClass());
		EXPECT_FALSE(Member->FindPinChecked(UEdGraphSchema_K2::PN_Self)->bHidden);
		EXPECT_EQ(Member->FindPinChecked(UEdGraphSchema_K2::PN_Self)->DefaultObject.Get(), nullptr);
	}

	TEST_F(EditorGraph_test, TrySetDefaultValueSetsOnlyValuesThePinTypeAccepts)
	{
		UEditorFixtureTypedNode* Typed = PlaceNode<UEditorFixtureTypedNode>();
		EXPECT_EQ(Describe(Typed), "execute>exec then<exec Node>string IsValid<bool Result<real/float");
		EXPECT_EQ(S(Typed->FindPinChecked(TEXT("Node"))->DefaultValue), "FixtureNode");
		EXPECT_EQ(S(Typed->FindPinChecked(TEXT("Node"))->AutogeneratedDefaultValue), "");

		UK2Node_CallFunction* Send = PlaceCall(TEXT("SendFixtureFloat"));
		UEdGraphPin* Value = Send->FindPinChecked(TEXT("value"));
		Schema()->TrySetDefaultValue(*Value, TEXT("abc"));
		EXPECT_EQ(S(Value->DefaultValue), "0.0");
		Schema()->TrySetDefaultValue(*Value, TEXT("1.5"));
		EXPECT_EQ(S(Value->DefaultValue), "1.5");
		EXPECT_FALSE(Value->DoesDefaultValueMatchAutogenerated());
		Schema()->TrySetDefaultValue(*Value, TEXT("0"));
		EXPECT_TRUE(Value->DoesDefaultValueMatchAutogenerated());

		UK2Node_CallFunction* Count = PlaceCall(TEXT("CountFixtureCalls"));
		Schema()->TrySetDefaultValue(*Count->FindPinChecked(TEXT("step")), TEXT("1.5"));
		EXPECT_EQ(S(Count->FindPinChecked(TEXT("step"))->DefaultValue), "2");
		Schema()->TrySetDefaultValue(*Count->FindPinChecked(TEXT("kind")), TEXT("Nope"));
		EXPECT_EQ(S(Count->FindPinChecked(TEXT("kind"))->DefaultValue), "Int");
		Schema()->TrySetDefaultValue(*Count->FindPinChecked(TEXT("kind")), TEXT("FloatArray"));
		EXPECT_EQ(S(Count->FindPinChecked(TEXT("kind"))->DefaultValue), "FloatArray");

		// Array inputs take no literal: they must be wired.
		UEdGraphPin* Array = PlaceCall(TEXT("SendFixtureFloatArray"))->FindPinChecked(TEXT("value"));
		Schema()->TrySetDefaultValue(*Array, TEXT("(1.0,2.0)"));
		EXPECT_EQ(S(Array->DefaultValue), "");
	}

	TEST_F(EditorGraph_test, ConnectionsFollowDirectionsTypesAndExclusiveEnds)
	{
		UEditorFixtureTypedNode* Typed = PlaceNode<UEditorFixtureTypedNode>();
		UK2Node_CallFunction* SendFloat = PlaceCall(TEXT("SendFixtureFloat"));
		UK2Node_CallFunction* SendDouble = PlaceCall(TEXT("SendFixtureDouble"));
		UEdGraphPin* Result = Typed->FindPinChecked(TEXT("Result"));

		EXPECT_EQ(Schema()->CanCreateConnection(Result, SendDouble->FindPinChecked(TEXT("value"))).Response, CONNECT_RESPONSE_MAKE);
		EXPECT_EQ(Schema()->CanCreateConnection(Result, SendFloat->GetExecPin()).Response, CONNECT_RESPONSE_DISALLOW);
		EXPECT_EQ(Schema()->CanCreateConnection(Result, SendFloat->FindPinChecked(TEXT("nodeName"))).Response, CONNECT_RESPONSE_DISALLOW);
		EXPECT_EQ(Schema()->CanCreateConnection(Result, Typed->FindPinChecked(TEXT("Node"))).Response, CONNECT_RESPONSE_DISALLOW);
		EXPECT_EQ(Schema()->CanCreateConnection(Result, SendDouble->FindPinChecked(TEXT("nodeName"))).Response, CONNECT_RESPONSE_DISALLOW);
		EXPECT_EQ(Schema()->CanCreateConnection(SendFloat->GetThenPin(), Typed->GetThenPin()).Response, CONNECT_RESPONSE_DISALLOW);
		UEdGraphPin* Array = PlaceCall(TEXT("SendFixtureFloatArray"))->FindPinChecked(TEXT("value"));
		EXPECT_EQ(Schema()->CanCreateConnection(Result, Array).Response, CONNECT_RESPONSE_DISALLOW);

		// A data input and an exec output take one link: a second one replaces the first.
		Link(Result, SendFloat->FindPinChecked(TEXT("value")));
		UEditorFixtureTypedNode* Other = PlaceNode<UEditorFixtureTypedNode>();
		UEdGraphPin* OtherResult = Other->FindPinChecked(TEXT("Result"));
		EXPECT_EQ(Schema()->CanCreateConnection(OtherResult, SendFloat->FindPinChecked(TEXT("value"))).Response, CONNECT_RESPONSE_BREAK_OTHERS_B);
		Link(OtherResult, SendFloat->FindPinChecked(TEXT("value")));
		EXPECT_EQ(Result->LinkedTo.Num(), 0);
		EXPECT_EQ(SendFloat->FindPinChecked(TEXT("value"))->LinkedTo[0], OtherResult);

		Link(Typed->GetThenPin(), SendFloat->GetExecPin());
		EXPECT_EQ(Schema()->CanCreateConnection(Typed->GetThenPin(), SendDouble->GetExecPin()).Response, CONNECT_RESPONSE_BREAK_OTHERS_A);
		// An exec input takes many links.
		EXPECT_EQ(Schema()->CanCreateConnection(Other->GetThenPin(), SendFloat->GetExecPin()).Response, CONNECT_RESPONSE_MAKE);
	}

	TEST_F(EditorGraph_test, ReconstructionKeepsLinksByNameAndTypeAndOrphansLinkedPinsThatVanished)
	{
		UEditorFixtureTypedNode* Typed = PlaceNode<UEditorFixtureTypedNode>();
		UK2Node_CallFunction* Send = PlaceCall(TEXT("SendFixtureFloat"));
		UK2Node_CallFunction* Name = PlaceCall(TEXT("MakeFixtureName"));
		Link(Typed->FindPinChecked(TEXT("Result")), Send->FindPinChecked(TEXT("value")));
		Link(Typed->GetThenPin(), Send->GetExecPin());
		Link(Name->GetReturnValuePin(), Typed->FindPinChecked(TEXT("Node")));
		UEdGraphPin* OldResult = Typed->FindPinChecked(TEXT("Result"));

		// Float to double: reals stay compatible, the link moves to the new pin.
		Typed->type = EditorFixtureValueType::Double;
		Typed->ReconstructNode();
		EXPECT_EQ(Describe(Typed), "execute>exec then<exec Node>string IsValid<bool Result<real/double");
		EXPECT_TRUE(OldResult->IsPendingKill());
		UEdGraphPin* Result = Typed->FindPinChecked(TEXT("Result"));
		ASSERT_EQ(Send->FindPinChecked(TEXT("value"))->LinkedTo.Num(), 1);
		EXPECT_EQ(Send->FindPinChecked(TEXT("value"))->LinkedTo[0], Result);
		EXPECT_EQ(Send->GetExecPin()->LinkedTo[0], Typed->GetThenPin());
		EXPECT_EQ(Name->GetReturnValuePin()->LinkedTo[0], Typed->FindPinChecked(TEXT("Node")));

		// Real to int: the linked pin no longer fits; it stays, orphaned and unconnectable, after the new pins.
		Typed->type = EditorFixtureValueType::Int;
		Typed->ReconstructNode();
		EXPECT_EQ(Describe(Typed), "execute>exec then<exec Node>string IsValid<bool Result<int Result<real/double(orphan)");
		UEdGraphPin* Orphan = Typed->Pins[5];
		EXPECT_EQ(Orphan, Result);
		EXPECT_TRUE(Orphan->bNotConnectable);
		EXPECT_EQ(Send->FindPinChecked(TEXT("value"))->LinkedTo[0], Orphan);
		EXPECT_EQ(Typed->FindPin(TEXT("Result")), Typed->Pins[4]);
		EXPECT_EQ(Typed->Pins[4]->LinkedTo.Num(), 0);

		// An orphan cannot take new links, and goes away with its last one.
		UEditorFixtureTypedNode* Other = PlaceNode<UEditorFixtureTypedNode>();
		EXPECT_EQ(Schema()->CanCreateConnection(Other->FindPinChecked(TEXT("Node")), Orphan).Response, CONNECT_RESPONSE_DISALLOW);
		Schema()->BreakPinLinks(*Orphan, true);
		EXPECT_EQ(Describe(Typed), "execute>exec then<exec Node>string IsValid<bool Result<int");
		EXPECT_TRUE(Orphan->IsPendingKill());
		EXPECT_EQ(Send->FindPinChecked(TEXT("value"))->LinkedTo.Num(), 0);
	}

	TEST_F(EditorGraph_test, ReconstructionKeepsChangedLiteralsAndDropsUnlinkedAndExecPinsThatVanished)
	{
		UK2Node_CallFunction* Send = PlaceCall(TEXT("SendFixtureFloat"));
		UK2Node_CallFunction* Before = PlaceCall(TEXT("CountFixtureCalls"));
		UK2Node_CallFunction* After = PlaceCall(TEXT("CountFixtureCalls"));
		Link(Before->GetThenPin(), Send->GetExecPin());
		Link(Send->GetThenPin(), After->GetExecPin());
		SetLiteral(Send, TEXT("nodeName"), TEXT("Custom"));

		// The node now calls a function without fieldName: an untouched, unlinked pin just goes.
		Send->SetFromFunction(UEditorFixtureLibrary::StaticClass()->FindFunctionByName(TEXT("SendFixtureDouble")));
		Send->ReconstructNode();
		EXPECT_EQ(Describe(Send), "execute>exec then<exec self>object nodeName>string value>real/double");
		EXPECT_EQ(S(Send->FindPinChecked(TEXT("nodeName"))->DefaultValue), "Custom");
		EXPECT_EQ(Before->GetThenPin()->LinkedTo[0], Send->GetExecPin());

		// An input with a literal of its own is kept as an orphan, with its literal.
		Send->SetFromFunction(UEditorFixtureLibrary::StaticClass()->FindFunctionByName(TEXT("SendFixtureFloat")));
		Send->ReconstructNode();
		SetLiteral(Send, TEXT("fieldName"), TEXT("speed"));
		Send->SetFromFunction(UEditorFixtureLibrary::StaticClass()->FindFunctionByName(TEXT("SendFixtureDouble")));
		Send->ReconstructNode();
		EXPECT_EQ(Describe(Send), "execute>exec then<exec self>object nodeName>string value>real/double fieldName>string(orphan)");
		EXPECT_EQ(S(Send->Pins[5]->DefaultValue), "speed");

		// A pure call has no exec pins: linked exec pins are never kept, and their links are gone.
		// nodeName now vanishes too and, holding a literal of its own, joins the orphans.
		Send->SetFromFunction(UEditorFixtureLibrary::StaticClass()->FindFunctionByName(TEXT("MakeFixtureName")));
		Send->ReconstructNode();
		EXPECT_EQ(Describe(Send), "self>object prefix>string index>int ReturnValue<string nodeName>string(orphan) fieldName>string(orphan)");
		EXPECT_EQ(Before->GetThenPin()->LinkedTo.Num(), 0);
		EXPECT_EQ(After->GetExecPin()->LinkedTo.Num(), 0);
	}

	TEST_F(EditorGraph_test, MovingAndCopyingLinksToIntermediatePins)
	{
		UEditorFixtureTypedNode* Typed = PlaceNode<UEditorFixtureTypedNode>();
		UK2Node_CallFunction* Name = PlaceCall(TEXT("MakeFixtureName"));
		UK2Node_CallFunction* Send = PlaceCall(TEXT("SendFixtureFloat"));
		Link(Typed->FindPinChecked(TEXT("Result")), Send->FindPinChecked(TEXT("value")));

		FCompilerResultsLog MessageLog;
		FKismetCompilerContext Context(nullptr, MessageLog, FKismetCompilerOptions());
		UK2Node_CallFunction* Call = Context.SpawnIntermediateNode<UK2Node_CallFunction>(Typed, Graph);
		Call->SetFromFunction(UEditorFixtureLibrary::StaticClass()->FindFunctionByName(TEXT("GetFixtureFloat")));
		Call->AllocateDefaultPins();
		EXPECT_TRUE(Call->IsIntermediateNode());
		EXPECT_FALSE(Typed->IsIntermediateNode());
		EXPECT_EQ(MessageLog.FindSourceObject(Call), Typed);
		EXPECT_TRUE(Graph->Nodes.Contains(Call));

		// An unlinked pin carries its literal over (and keeps it).
		UEdGraphPin* NodePin = Typed->FindPinChecked(TEXT("Node"));
		Context.MovePinLinksToIntermediate(*NodePin, *Call->FindPinChecked(TEXT("nodeName")));
		EXPECT_EQ(S(Call->FindPinChecked(TEXT("nodeName"))->DefaultValue), "FixtureNode");
		EXPECT_EQ(S(NodePin->DefaultValue), "FixtureNode");
		EXPECT_EQ(MessageLog.FindSourcePin(Call->FindPinChecked(TEXT("nodeName"))), NodePin);

		// A linked pin gives its links away.
		Context.MovePinLinksToIntermediate(*Typed->FindPinChecked(TEXT("Result")), *Call->GetReturnValuePin());
		EXPECT_EQ(Typed->FindPinChecked(TEXT("Result"))->LinkedTo.Num(), 0);
		ASSERT_EQ(Send->FindPinChecked(TEXT("value"))->LinkedTo.Num(), 1);
		EXPECT_EQ(Send->FindPinChecked(TEXT("value"))->LinkedTo[0], Call->GetReturnValuePin());

		// Copying keeps the source's links: both pins read the same output.
		Link(Name->GetReturnValuePin(), NodePin);
		UK2Node_CallFunction* Second = Context.SpawnIntermediateNode<UK2Node_CallFunction>(Typed, Graph);
		Second->SetFromFunction(UEditorFixtureLibrary::StaticClass()->FindFunctionByName(TEXT("GetFixtureFloat")));
		Second->AllocateDefaultPins();
		Context.CopyPinLinksToIntermediate(*NodePin, *Second->FindPinChecked(TEXT("nodeName")));
		EXPECT_EQ(NodePin->LinkedTo.Num(), 1);
		EXPECT_EQ(Second->FindPinChecked(TEXT("nodeName"))->LinkedTo[0], Name->GetReturnValuePin());
		EXPECT_EQ(Name->GetReturnValuePin()->LinkedTo.Num(), 2);
		EXPECT_EQ(MessageLog.NumErrors, 0);

		// A move the schema refuses is a compiler error on the source node, and the link is lost.
		UK2Node_CallFunction* Third = Context.SpawnIntermediateNode<UK2Node_CallFunction>(Typed, Graph);
		Third->SetFromFunction(UEditorFixtureLibrary::StaticClass()->FindFunctionByName(TEXT("GetFixtureFloat")));
		Third->AllocateDefaultPins();
		Context.MovePinLinksToIntermediate(*Call->GetReturnValuePin(), *Third->FindPinChecked(TEXT("isAvailable")));
		EXPECT_EQ(MessageLog.NumErrors, 1);
		ASSERT_EQ(MessageLog.Messages.Num(), 1);
		EXPECT_EQ(S(MessageLog.Messages[0]->ToText()), "COMPILER ERROR: failed building connection with 'bool is not compatible with real' at GetFixtureFloat");
		EXPECT_EQ(Send->FindPinChecked(TEXT("value"))->LinkedTo.Num(), 0);

		// An orphaned pin's links are not moved.
		UEdGraphPin* Then = Typed->GetThenPin();
		Link(Then, Send->GetExecPin());
		Then->bOrphanedPin = true;
		Context.MovePinLinksToIntermediate(*Then, *Call->GetThenPin());
		EXPECT_EQ(Then->LinkedTo.Num(), 1);
		EXPECT_EQ(Call->GetThenPin()->LinkedTo.Num(), 0);
	}

	TEST_F(EditorGraph_test, ExpansionReplacesANodeByItsIntermediateCallAndTheExecutorRunsIt)
	{
		UEditorFixtureTypedNode* Typed = PlaceNode<UEditorFixtureTypedNode>();
		UK2Node_CallFunction* Name = PlaceCall(TEXT("MakeFixtureName"));
		UK2Node_CallFunction* Send = PlaceCall(TEXT("SendFixtureFloat"));
		SetLiteral(Name, TEXT("prefix"), TEXT("Node"));
		SetLiteral(Name, TEXT("index"), TEXT("3"));
		SetLiteral(Send, TEXT("nodeName"), TEXT("Out"));
		SetLiteral(Send, TEXT("fieldName"), TEXT("field"));
		Link(Name->GetReturnValuePin(), Typed->FindPinChecked(TEXT("Node")));
		Link(Typed->GetThenPin(), Send->GetExecPin());
		Link(Typed->FindPinChecked(TEXT("Result")), Send->FindPinChecked(TEXT("value")));

		const BlueprintGraphTesting::FExpansion Expansion = BlueprintGraphTesting::ExpandGraph(Graph);
		ASSERT_EQ(Expansion.IntermediateNodes.Num(), 1);
		EXPECT_EQ(Expansion.Messages.Num(), 0);
		UK2Node_CallFunction* Call = Cast<UK2Node_CallFunction>(Expansion.IntermediateNodes[0]);
		ASSERT_NE(Call, nullptr);
		EXPECT_EQ(Expansion.SourceNodes.FindRef(Call), Typed);
		EXPECT_EQ(Call->FindPinChecked(TEXT("nodeName"))->LinkedTo[0], Name->GetReturnValuePin());
		EXPECT_EQ(Call->GetThenPin()->LinkedTo[0], Send->GetExecPin());
		EXPECT_EQ(Send->FindPinChecked(TEXT("value"))->LinkedTo[0], Call->GetReturnValuePin());
		for (const UEdGraphPin* Pin : Typed->Pins)
		{
			EXPECT_EQ(Pin->LinkedTo.Num(), 0) << S(Pin->PinName);
		}

		UEditorFixtureLibrary::Values.Add(TEXT("Node3."), 2.5f);
		BlueprintGraphTesting::FGraphExecutor Executor(Graph);
		ASSERT_TRUE(Executor.Run(Call)) << (Executor.GetErrors().Num() ? S(Executor.GetErrors()[0]) : "");
		ASSERT_EQ(UEditorFixtureLibrary::CallLog.Num(), 3);
		EXPECT_EQ(S(UEditorFixtureLibrary::CallLog[0]), "MakeFixtureName(Node, 3)");
		EXPECT_EQ(S(UEditorFixtureLibrary::CallLog[1]), "GetFixtureFloat(Node3, )");
		EXPECT_EQ(S(UEditorFixtureLibrary::CallLog[2]), "SendFixtureFloat(Out, field, 2.50)");
		ASSERT_NE(Executor.GetOutputValue<bool>(Call->FindPinChecked(TEXT("isAvailable"))), nullptr);
		EXPECT_TRUE(*Executor.GetOutputValue<bool>(Call->FindPinChecked(TEXT("isAvailable"))));
		EXPECT_EQ(*Executor.GetOutputValue<float>(Call->GetReturnValuePin()), 2.5f);
		EXPECT_EQ(Executor.GetOutputValue<double>(Call->GetReturnValuePin()), nullptr);
	}

	TEST_F(EditorGraph_test, ExecutorRunsFrameByFrameAndRunsPureCallsForEachReader)
	{
		UK2Node_CallFunction* Name = PlaceCall(TEXT("MakeFixtureName"));
		UK2Node_CallFunction* First = PlaceCall(TEXT("SendFixtureFloat"));
		UK2Node_CallFunction* Second = PlaceCall(TEXT("SendFixtureFloat"));
		SetLiteral(Name, TEXT("prefix"), TEXT("N"));
		SetLiteral(First, TEXT("value"), TEXT("1.25"));
		Link(Name->GetReturnValuePin(), First->FindPinChecked(TEXT("nodeName")));
		Link(Name->GetReturnValuePin(), Second->FindPinChecked(TEXT("nodeName")));
		Link(First->GetThenPin(), Second->GetExecPin());

		BlueprintGraphTesting::FGraphExecutor Executor(Graph);
		ASSERT_TRUE(Executor.Run(First));
		ASSERT_TRUE(Executor.Run(First));
		ASSERT_EQ(UEditorFixtureLibrary::CallLog.Num(), 8);
		EXPECT_EQ(S(UEditorFixtureLibrary::CallLog[0]), "MakeFixtureName(N, 0)");
		EXPECT_EQ(S(UEditorFixtureLibrary::CallLog[1]), "SendFixtureFloat(N0, , 1.25)");
		EXPECT_EQ(S(UEditorFixtureLibrary::CallLog[2]), "MakeFixtureName(N, 0)");
		EXPECT_EQ(S(UEditorFixtureLibrary::CallLog[3]), "SendFixtureFloat(N0, , 0.00)");
		EXPECT_EQ(S(UEditorFixtureLibrary::CallLog[7]), "SendFixtureFloat(N0, , 0.00)");
		const TArray<FName> Names = Executor.GetCalledFunctionNames();
		ASSERT_EQ(Names.Num(), 8);
		EXPECT_EQ(S(Names[1]), "SendFixtureFloat");
		EXPECT_EQ(Executor.GetCalls()[1].Node, First);

		// A pure call only runs for a reader.
		EXPECT_FALSE(Executor.Run(Name));
	}

	TEST_F(EditorGraph_test, ExecutorPassesArraysAndConvertsRealsAndReadsNeverProducedOutputsAsDefaults)
	{
		UK2Node_CallFunction* Get = PlaceCall(TEXT("GetFixtureFloatArray"));
		UK2Node_CallFunction* Send = PlaceCall(TEXT("SendFixtureFloatArray"));
		UK2Node_CallFunction* GetFloat = PlaceCall(TEXT("GetFixtureFloat"));
		UK2Node_CallFunction* SendDouble = PlaceCall(TEXT("SendFixtureDouble"));
		SetLiteral(Get, TEXT("nodeName"), TEXT("n"));
		SetLiteral(Get, TEXT("fieldName"), TEXT("f"));
		SetLiteral(GetFloat, TEXT("nodeName"), TEXT("n"));
		SetLiteral(GetFloat, TEXT("fieldName"), TEXT("f"));
		Link(Get->GetReturnValuePin(), Send->FindPinChecked(TEXT("value")));
		Link(Get->GetThenPin(), Send->GetExecPin());
		Link(GetFloat->GetReturnValuePin(), SendDouble->FindPinChecked(TEXT("value")));
		UEditorFixtureLibrary::Values.Add(TEXT("n.f"), 1.5f);

		BlueprintGraphTesting::FGraphExecutor Executor(Graph);
		// SendDouble reads the output of a call that has not run: the type's default.
		ASSERT_TRUE(Executor.Run(SendDouble));
		ASSERT_TRUE(Executor.Run(Get));
		ASSERT_TRUE(Executor.Run(GetFloat));
		ASSERT_TRUE(Executor.Run(SendDouble));
		ASSERT_EQ(UEditorFixtureLibrary::CallLog.Num(), 5);
		EXPECT_EQ(S(UEditorFixtureLibrary::CallLog[0]), "SendFixtureDouble(, 0.00)");
		EXPECT_EQ(S(UEditorFixtureLibrary::CallLog[2]), "SendFixtureFloatArray(, , 1.50 3.00)");
		EXPECT_EQ(S(UEditorFixtureLibrary::CallLog[4]), "SendFixtureDouble(, 1.50)");
		const TArray<float>* Array = Executor.GetOutputValue<TArray<float>>(Get->GetReturnValuePin());
		ASSERT_NE(Array, nullptr);
		EXPECT_EQ(Array->Num(), 2);

		Executor.Reset();
		EXPECT_EQ(Executor.GetOutputValue<TArray<float>>(Get->GetReturnValuePin()), nullptr);
		EXPECT_EQ(Executor.GetCalls().Num(), 0);
	}

	TEST_F(EditorGraph_test, ExecutorCallsMemberFunctionsOnSelfAndReportsWhatTheCompilerWouldRefuse)
	{
		UK2Node_CallFunction* Accumulate = PlaceCall(TEXT("Accumulate"), UEditorFixtureTarget::StaticClass());
		SetLiteral(Accumulate, TEXT("Amount"), TEXT("5"));
		BlueprintGraphTesting::FGraphExecutor Executor(Graph);
		EXPECT_FALSE(Executor.Run(Accumulate));
		ASSERT_EQ(Executor.GetErrors().Num(), 1);
		EXPECT_NE(S(Executor.GetErrors()[0]).find("accessed None calling Accumulate"), std::string::npos);

		UEditorFixtureTarget* Target = NewObject<UEditorFixtureTarget>();
		Executor.SetSelfObject(Target);
		ASSERT_TRUE(Executor.Run(Accumulate));
		ASSERT_TRUE(Executor.Run(Accumulate));
		EXPECT_EQ(Target->Total, 10);

		// An unwired array input does not compile.
		UK2Node_CallFunction* SendArray = PlaceCall(TEXT("SendFixtureFloatArray"));
		EXPECT_FALSE(Executor.Run(SendArray));
		EXPECT_NE(S(Executor.GetErrors().Last()).find("Array inputs (like 'value') must have an input wired into them"), std::string::npos);

		// A node that was not expanded cannot run.
		UK2Node_CallFunction* Count = PlaceCall(TEXT("CountFixtureCalls"));
		UEditorFixtureTypedNode* Typed = PlaceNode<UEditorFixtureTypedNode>();
		Link(Count->GetThenPin(), Typed->GetExecPin());
		EXPECT_FALSE(Executor.Run(Count));
		EXPECT_NE(S(Executor.GetErrors().Last()).find("is not a function call"), std::string::npos);
		ASSERT_EQ(UEditorFixtureLibrary::CallLog.Num(), 1);
		EXPECT_EQ(S(UEditorFixtureLibrary::CallLog[0]), "CountFixtureCalls(2, 0.50, 1, calls)");
	}

	TEST_F(EditorGraph_test, ExecutorRunsEngineFunctionsSuchAsBooleanAnd)
	{
		UK2Node_CallFunction* And = PlaceCall(TEXT("BooleanAND"), UKismetMathLibrary::StaticClass());
		EXPECT_TRUE(And->IsNodePure());
		EXPECT_EQ(Describe(And), "self>object A>bool B>bool ReturnValue<bool");
		UK2Node_CallFunction* Not = PlaceCall(TEXT("Not_PreBool"), UKismetMathLibrary::StaticClass());
		UK2Node_CallFunction* Send = PlaceCall(TEXT("SendFixtureBool"));
		SetLiteral(And, TEXT("A"), TEXT("true"));
		Link(Not->GetReturnValuePin(), And->FindPinChecked(TEXT("B")));
		Link(And->GetReturnValuePin(), Send->FindPinChecked(TEXT("value")));

		// No conversion nodes: a bool output does not link to an int input.
		UK2Node_CallFunction* Count = PlaceCall(TEXT("CountFixtureCalls"));
		EXPECT_EQ(Schema()->CanCreateConnection(And->GetReturnValuePin(), Count->FindPinChecked(TEXT("step"))).Response, CONNECT_RESPONSE_DISALLOW);

		BlueprintGraphTesting::FGraphExecutor Executor(Graph);
		ASSERT_TRUE(Executor.Run(Send));
		SetLiteral(Not, TEXT("A"), TEXT("true"));
		ASSERT_TRUE(Executor.Run(Send));
		ASSERT_EQ(UEditorFixtureLibrary::CallLog.Num(), 2);
		EXPECT_EQ(S(UEditorFixtureLibrary::CallLog[0]), "SendFixtureBool(, true)");
		EXPECT_EQ(S(UEditorFixtureLibrary::CallLog[1]), "SendFixtureBool(, false)");
		const TArray<FName> Names = Executor.GetCalledFunctionNames();
		ASSERT_EQ(Names.Num(), 6);
		EXPECT_EQ(S(Names[0]), "Not_PreBool");
		EXPECT_EQ(S(Names[1]), "BooleanAND");
		EXPECT_EQ(S(Names[2]), "SendFixtureBool");
	}

	TEST_F(EditorGraph_test, GraphsAddRemoveAndDestroyNodes)
	{
		UEditorFixtureTypedNode* Typed = PlaceNode<UEditorFixtureTypedNode>();
		UK2Node_CallFunction* Send = PlaceCall(TEXT("SendFixtureFloat"));
		Link(Typed->GetThenPin(), Send->GetExecPin());
		EXPECT_EQ(Typed->GetGraph(), Graph);
		EXPECT_EQ(Typed->GetSchema(), Schema());
		EXPECT_EQ(Graph->Nodes.Num(), 2);
		TArray<UK2Node_CallFunction*> Calls;
		Graph->GetNodesOfClass(Calls);
		ASSERT_EQ(Calls.Num(), 1);
		EXPECT_EQ(Calls[0], Send);

		Typed->DestroyNode();
		EXPECT_EQ(Graph->Nodes.Num(), 1);
		EXPECT_EQ(Send->GetExecPin()->LinkedTo.Num(), 0);

		Link(PlaceNode<UEditorFixtureTypedNode>()->GetThenPin(), Send->GetExecPin());
		Send->BreakAllNodeLinks();
		EXPECT_EQ(Send->GetExecPin()->LinkedTo.Num(), 0);
	}

	TEST_F(EditorGraph_test, NodesAddTheirMenuActionsUnderTheKeyTheRegistrarAsksFor)
	{
		const TArray<BlueprintGraphTesting::FMenuAction> Actions = BlueprintGraphTesting::GetMenuActions(UEditorFixtureTypedNode::StaticClass());
		ASSERT_EQ(Actions.Num(), 1);
		EXPECT_EQ(Actions[0].ActionKey, UEditorFixtureTypedNode::StaticClass());
		EXPECT_EQ(*Actions[0].NodeSpawner->NodeClass, UEditorFixtureTypedNode::StaticClass());
		EXPECT_EQ(Actions[0].NodeSpawner->GetOuter(), (UObject*)GetTransientPackage());
		EXPECT_EQ(S(GetDefault<UEditorFixtureTypedNode>()->GetMenuCategory()), "Fixture");

		EXPECT_EQ(BlueprintGraphTesting::GetMenuActions(UEditorFixtureTypedNode::StaticClass(), UEditorFixtureTypedNode::StaticClass()).Num(), 1);
		EXPECT_EQ(BlueprintGraphTesting::GetMenuActions(UEditorFixtureTypedNode::StaticClass(), UEditorFixtureSyncNode::StaticClass()).Num(), 0);
		// A node class that adds nothing.
		EXPECT_EQ(BlueprintGraphTesting::GetMenuActions(UEditorFixtureSyncNode::StaticClass()).Num(), 0);

		UBlueprintNodeSpawner* Spawner = UBlueprintNodeSpawner::Create<UK2Node_CallFunction>(Graph);
		EXPECT_EQ(*Spawner->NodeClass, UK2Node_CallFunction::StaticClass());
		EXPECT_EQ(Spawner->GetOuter(), Graph);
	}

	TEST_F(EditorGraph_test, NodesWithAPlainInterfaceBaseReflectAsOrdinaryClasses)
	{
		UEditorFixtureSyncNode* Sync = PlaceNode<UEditorFixtureSyncNode>();
		EXPECT_TRUE(UEditorFixtureSyncNode::StaticClass()->IsChildOf(UK2Node::StaticClass()));
		EXPECT_EQ(UEditorFixtureSyncNode::StaticClass()->Interfaces.Num(), 0);
		IEditorFixtureFieldSync* Interface = Sync;
		Interface->UpdateFields(2);
		ASSERT_EQ(Sync->fields.Num(), 2);
		// Elements of the derived structure start with its own default.
		EXPECT_EQ(Sync->fields[1].direction, 1);
		EXPECT_EQ(FEditorFixtureFieldFromHost::StaticStruct()->GetSuperStruct(), FEditorFixtureField::StaticStruct());
	}
	TEST_F(EditorGraph_test, PinsFromEveryCreatePinOverloadAndTheirLookups)
	{
		UEditorFixtureSyncNode* Node = PlaceNode<UEditorFixtureSyncNode>();
		ASSERT_EQ(Node->Pins.Num(), 0);

		UEdGraphPin* Exec = Node->CreatePin(EGPD_Input, UEdGraphSchema_K2::PC_Exec, UEdGraphSchema_K2::PN_Execute);
		UEdGraphNode::FCreatePinParams ArrayParams;
		ArrayParams.ContainerType = EPinContainerType::Array;
		ArrayParams.bIsReference = true;
		ArrayParams.bIsConst = true;
		UEdGraphPin* Reals = Node->CreatePin(EGPD_Input, UEdGraphSchema_K2::PC_Real, UEdGraphSchema_K2::PC_Double, TEXT("Reals"), ArrayParams);
		UEdGraphPin* Struct = Node->CreatePin(EGPD_Output, UEdGraphSchema_K2::PC_Struct, FEditorFixtureField::StaticStruct(), TEXT("Field"));
		// A pin at an index goes before the pins after it.
		FEdGraphPinType IntType;
		IntType.PinCategory = UEdGraphSchema_K2::PC_Int;
		UEdGraphPin* Count = Node->CreatePin(EGPD_Output, IntType, TEXT("Count"), 1);
		// The same name in the other direction is another pin.
		UEdGraphPin* CountIn = Node->CreatePin(EGPD_Input, UEdGraphSchema_K2::PC_Int, TEXT("Count"));

		EXPECT_EQ(Describe(Node), "execute>exec Count<int Reals>real/double[] Field<struct Count>int");
		EXPECT_EQ(Exec->GetOwningNode(), Node);
		EXPECT_TRUE(Reals->PinType.bIsReference);
		EXPECT_TRUE(Reals->PinType.bIsConst);
		EXPECT_EQ(Struct->PinType.PinSubCategoryObject.Get(), FEditorFixtureField::StaticStruct());
		EXPECT_EQ(Node->GetPinIndex(Reals), 2);
		EXPECT_EQ(Node->FindPin(TEXT("Count")), Count);
		EXPECT_EQ(Node->FindPin(TEXT("Count"), EGPD_Input), CountIn);
		EXPECT_EQ(Node->FindPin(TEXT("count"), EGPD_Output), Count);
		EXPECT_EQ(Node->FindPin(TEXT("Missing")), nullptr);
		EXPECT_EQ(Node->FindPinById(Struct->PinId), Struct);
		EXPECT_NE(Struct->PinId, Count->PinId);

		// The friendly name is what the pin shows, when there is one.
		EXPECT_EQ(S(Count->GetDisplayName()), "Count");
		Count->PinFriendlyName = FText::FromString(TEXT("Number of fields"));
		EXPECT_EQ(S(Count->GetDisplayName()), "Number of fields");

		// Nodes placed by the creator get their own GUIDs.
		EXPECT_TRUE(Node->NodeGuid.IsValid());
		EXPECT_NE(Node->NodeGuid, PlaceNode<UEditorFixtureSyncNode>()->NodeGuid);

		// Removing a pin breaks its links and takes it out of the list.
		UK2Node_CallFunction* Send = PlaceCall(TEXT("SendFixtureFloatArray"));
		EXPECT_EQ(Schema()->CanCreateConnection(Count, Send->FindPinChecked(TEXT("value"))).Response, CONNECT_RESPONSE_DISALLOW);
		Link(Node->FindPinChecked(TEXT("Count"), EGPD_Output), PlaceCall(TEXT("CountFixtureCalls"))->FindPinChecked(TEXT("step")));
		EXPECT_TRUE(Node->RemovePin(Count));
		EXPECT_EQ(Node->FindPin(TEXT("Count"), EGPD_Output), nullptr);
		EXPECT_EQ(Node->Pins.Num(), 4);
	}

	TEST_F(EditorGraph_test, IconsTitlesAndTheCompilerMessageLog)
	{
		UK2Node_CallFunction* Pure = PlaceCall(TEXT("MakeFixtureName"));
		UEditorFixtureSyncNode* Sync = PlaceNode<UEditorFixtureSyncNode>();
		// A node without an icon of its own has the graph editor's default one, and keeps the tint.
		FLinearColor Tint(0.25f, 0.5f, 0.75f, 1.0f);
		const FSlateIcon Icon = Sync->GetIconAndTint(Tint);
		EXPECT_EQ(S(Icon.GetStyleName()), "GraphEditor.Default_16x");
		EXPECT_EQ(S(Icon.GetStyleSetName()), "CoreStyle");
		EXPECT_EQ(Tint, FLinearColor(0.25f, 0.5f, 0.75f, 1.0f));
		EXPECT_EQ(S(Pure->GetNodeTitle(ENodeTitleType::FullTitle)), "Make Fixture Name");
		EXPECT_EQ(S(Pure->GetTooltipText()), "Joins a prefix and a number.");

		FCompilerResultsLog Log;
		Log.Error(TEXT("@@ has no value for @@"), Pure, Pure->FindPinChecked(TEXT("prefix")));
		Log.Warning(TEXT("@@ is not used"), Pure);
		Log.Note(TEXT("plain note"));
		EXPECT_EQ(Log.NumErrors, 1);
		EXPECT_EQ(Log.NumWarnings, 1);
		ASSERT_EQ(Log.Messages.Num(), 3);
		EXPECT_EQ(S(Log.Messages[0]->ToText()), "Make Fixture Name has no value for prefix");
		EXPECT_EQ(Log.Messages[0]->GetSeverity(), EMessageSeverity::Error);
		EXPECT_EQ(S(Log.Messages[1]->ToText()), "Make Fixture Name is not used");
		EXPECT_EQ(Log.Messages[1]->GetSeverity(), EMessageSeverity::Warning);
		EXPECT_EQ(Log.Messages[2]->GetSeverity(), EMessageSeverity::Info);

		// Expansion reports what the compiler would, and leaves a graph without expandable nodes alone.
		const BlueprintGraphTesting::FExpansion Expansion = BlueprintGraphTesting::ExpandGraph(Graph);
		EXPECT_EQ(Expansion.IntermediateNodes.Num(), 0);
		EXPECT_EQ(Expansion.NumErrors, 0);
		EXPECT_EQ(Graph->Nodes.Num(), 2);
	}
}
