// Test controls of Blueprint graphs: menu actions, graph expansion and the graph executor.
#include "BlueprintGraphTesting.h"

#include <cstring>
#include <new>

#include "BlueprintActionDatabaseRegistrar.h"
#include "BlueprintNodeSpawner.h"
#include "EdGraph/EdGraph.h"
#include "EdGraph/EdGraphPin.h"
#include "EdGraphSchema_K2.h"
#include "K2Node.h"
#include "K2Node_CallFunction.h"
#include "KismetCompiler.h"
#include "UObject/UnrealType.h"

/** Builds registrars as the Blueprint action database does. */
struct FBlueprintActionDatabaseRegistrarAccess
{
	static TArray<BlueprintGraphTesting::FMenuAction> GetMenuActions(UClass* NodeClass, const UObject* ActionKeyFilter)
	{
		check(NodeClass && NodeClass->IsChildOf(UK2Node::StaticClass()));
		FBlueprintActionDatabaseRegistrar Registrar(NodeClass);
		Registrar.ActionKeyFilter = ActionKeyFilter;
		const UK2Node* NodeCDO = NodeClass->GetDefaultObject<UK2Node>();
		NodeCDO->GetMenuActions(Registrar);

		TArray<BlueprintGraphTesting::FMenuAction> Result;
		for (const FBlueprintActionDatabaseRegistrar::FRegisteredAction& Action : Registrar.Actions)
		{
			Result.Add(BlueprintGraphTesting::FMenuAction{ Action.ActionKey, Action.NodeSpawner });
		}
		return Result;
	}
};

namespace BlueprintGraphTesting
{
	TArray<FMenuAction> GetMenuActions(UClass* NodeClass, const UObject* ActionKeyFilter)
	{
		return FBlueprintActionDatabaseRegistrarAccess::GetMenuActions(NodeClass, ActionKeyFilter);
	}

	FExpansion ExpandGraph(UEdGraph* Graph)
	{
		check(Graph);
		FCompilerResultsLog MessageLog;
		FKismetCompilerOptions CompileOptions;
		FKismetCompilerContext CompilerContext(nullptr, MessageLog, CompileOptions);

		// Nodes an expansion adds are expanded in turn, as the compiler's expansion step does.
		for (int32 NodeIndex = 0; NodeIndex < Graph->Nodes.Num(); ++NodeIndex)
		{
			if (UK2Node* Node = Cast<UK2Node>(Graph->Nodes[NodeIndex]))
			{
				Node->ExpandNode(CompilerContext, Graph);
			}
		}

		FExpansion Expansion;
		for (UEdGraphNode* Node : Graph->Nodes)
		{
			if (Node->IsIntermediateNode())
			{
				Expansion.IntermediateNodes.Add(Node);
				Expansion.SourceNodes.Add(Node, Cast<UEdGraphNode>(MessageLog.FindSourceObject(Node)));
			}
		}
		for (const TSharedRef<FTokenizedMessage>& Message : MessageLog.Messages)
		{
			const EMessageSeverity::Type Severity = Message->GetSeverity();
			Expansion.Messages.Add(FCompilerMessage{
				FString(Severity == EMessageSeverity::Error ? TEXT("Error") : (Severity == EMessageSeverity::Warning ? TEXT("Warning") : TEXT("Note"))),
				Message->ToText().ToString() });
		}
		Expansion.NumErrors = MessageLog.NumErrors;
		Expansion.NumWarnings = MessageLog.NumWarnings;
		return Expansion;
	}

	// -- FGraphExecutor ----------------------------------------------------------------------------------

	struct FGraphExecutor::FStoredValue
	{
		const FProperty* Property = nullptr;
		void* Memory = nullptr;

		FStoredValue(const FProperty* InProperty, const void* Source)
			: Property(InProperty)
			, Memory(::operator new((size_t)InProperty->GetSize()))
		{
			Property->InitializeValue(Memory);
			Property->CopyCompleteValue(Memory, Source);
		}

		~FStoredValue()
		{
			Property->DestroyValue(Memory);
			::operator delete(Memory);
		}

		FStoredValue(const FStoredValue&) = delete;
		FStoredValue& operator=(const FStoredValue&) = delete;
	};

	/** The pure nodes already run for the node whose inputs are being read. */
	struct FGraphExecutor::FCallContext
	{
		TSet<UEdGraphNode*> EvaluatedPureNodes;
		int32 Depth = 0;
	};

	namespace
	{
		bool IsFunctionInput(const FProperty* Param)
		{
			return !Param->HasAnyPropertyFlags(CPF_ReturnParm) && (!Param->HasAnyPropertyFlags(CPF_OutParm) || Param->HasAnyPropertyFlags(CPF_ReferenceParm));
		}

		bool LiteralToBool(const FString& Text)
		{
			return Text.Equals(TEXT("true"), ESearchCase::IgnoreCase) || Text.Equals(TEXT("yes"), ESearchCase::IgnoreCase)
				|| Text.Equals(TEXT("on"), ESearchCase::IgnoreCase) || FCString::Atoi(*Text) != 0;
		}

		/** Writes a pin's literal default value into a parameter; false with a reason for what it cannot read. */
		bool ImportLiteral(const UEdGraphPin* Pin, const FProperty* Param, void* Dest, FString& OutError)
		{
			using UECodeGen_Private::EPropertyKind;
			const FString& Text = Pin->DefaultValue;
			switch (Param->GetKind())
			{
			case EPropertyKind::Bool:
				*static_cast<bool*>(Dest) = LiteralToBool(Text);
				return true;
			case EPropertyKind::Int:
				*static_cast<int32*>(Dest) = FCString::Atoi(*Text);
				return true;
			case EPropertyKind::Int64:
				*static_cast<int64*>(Dest) = FCString::Atoi64(*Text);
				return true;
			case EPropertyKind::Float:
				*static_cast<float*>(Dest) = (float)FCString::Atod(*Text);
				return true;
			case EPropertyKind::Double:
				*static_cast<double*>(Dest) = FCString::Atod(*Text);
				return true;
			case EPropertyKind::Str:
				*static_cast<FString*>(Dest) = Text;
				return true;
			case EPropertyKind::Name:
				*static_cast<FName*>(Dest) = FName(*Text);
				return true;
			case EPropertyKind::Text:
				*static_cast<FText*>(Dest) = Pin->DefaultTextValue;
				return true;
			case EPropertyKind::Byte:
			case EPropertyKind::Enum:
			{
				int64 Value = 0;
				if (UEnum* Enum = Param->GetEnum())
				{
					Value = Text.IsEmpty() ? Enum->GetValueByIndex(0) : Enum->GetValueByNameString(Text);
					if (Value == INDEX_NONE && Enum->GetIndexByNameString(Text) == INDEX_NONE)
					{
						OutError = FString::Printf(TEXT("'%s' is not an entry of %s"), *Text, *Enum->GetName());
						return false;
					}
				}
				else
				{
					Value = FCString::Atoi(*Text);
				}
				if (Param->ElementSize != 1)
				{
					OutError = FString::Printf(TEXT("enum parameter %s is not one byte"), *Param->GetName());
					return false;
				}
				*static_cast<uint8*>(Dest) = (uint8)Value;
				return true;
			}
			case EPropertyKind::Object:
			case EPropertyKind::Class:
				*static_cast<UObject**>(Dest) = Pin->DefaultObject.Get();
				return true;
			case EPropertyKind::Array:
			case EPropertyKind::Struct:
				if (Text.IsEmpty())
				{
					// The parameter keeps its type's default value.
					return true;
				}
				OutError = FString::Printf(TEXT("the executor does not read the literal '%s' of %s"), *Text, *Param->GetCPPType());
				return false;
			default:
				OutError = FString::Printf(TEXT("the executor does not read literals of %s"), *Param->GetCPPType());
				return false;
			}
		}

		/** Copies a value between properties of the same type, or between float and double as Blueprints convert reals. */
		bool CopyValue(const FProperty* SourceProperty, const void* Source, const FProperty* DestProperty, void* Dest, FString& OutError)
		{
			using UECodeGen_Private::EPropertyKind;
			const EPropertyKind SourceKind = SourceProperty->GetKind();
			const EPropertyKind DestKind = DestProperty->GetKind();
			if (SourceKind == EPropertyKind::Float && DestKind == EPropertyKind::Double)
			{
				*static_cast<double*>(Dest) = *static_cast<const float*>(Source);
				return true;
			}
			if (SourceKind == EPropertyKind::Double && DestKind == EPropertyKind::Float)
			{
				*static_cast<float*>(Dest) = (float)*static_cast<const double*>(Source);
				return true;
			}
			FString SourceExtended;
			FString DestExtended;
			const FString SourceType = SourceProperty->GetCPPType(&SourceExtended) + SourceExtended;
			const FString DestType = DestProperty->GetCPPType(&DestExtended) + DestExtended;
			if (SourceKind != DestKind || !SourceType.Equals(DestType, ESearchCase::CaseSensitive) || SourceProperty->GetSize() != DestProperty->GetSize())
			{
				OutError = FString::Printf(TEXT("a value of %s cannot be passed as %s"), *SourceType, *DestType);
				return false;
			}
			DestProperty->CopyCompleteValue(Dest, Source);
			return true;
		}
	}

	FGraphExecutor::FGraphExecutor(UEdGraph* InGraph)
		: Graph(InGraph)
		, SelfObject(nullptr)
	{
		check(Graph);
	}

	FGraphExecutor::~FGraphExecutor()
	{
		Reset();
	}

	void FGraphExecutor::SetSelfObject(UObject* InSelfObject)
	{
		SelfObject = InSelfObject;
	}

	void FGraphExecutor::Reset()
	{
		for (TPair<const UEdGraphPin*, FStoredValue*>& Output : Outputs)
		{
			delete Output.Value;
		}
		Outputs.Empty();
		Calls.Empty();
		Errors.Empty();
	}

	TArray<FName> FGraphExecutor::GetCalledFunctionNames() const
	{
		TArray<FName> Names;
		for (const FExecutedCall& Call : Calls)
		{
			Names.Add(Call.Function->GetFName());
		}
		return Names;
	}

	int32 FGraphExecutor::PropertyValueSize(const FProperty* Property)
	{
		return Property ? Property->GetSize() : 0;
	}

	const void* FGraphExecutor::GetOutputValueAddress(const UEdGraphPin* OutputPin, const FProperty** OutProperty) const
	{
		FStoredValue* const* Found = Outputs.Find(OutputPin);
		if (!Found)
		{
			return nullptr;
		}
		if (OutProperty)
		{
			*OutProperty = (*Found)->Property;
		}
		return (*Found)->Memory;
	}

	void FGraphExecutor::AddError(const FString& Error)
	{
		Errors.Add(Error);
	}

	void FGraphExecutor::StoreOutput(const UEdGraphPin* Pin, const FProperty* Param, const void* Source)
	{
		if (FStoredValue** Existing = Outputs.Find(Pin))
		{
			delete *Existing;
			Outputs.Remove(Pin);
		}
		Outputs.Add(Pin, new FStoredValue(Param, Source));
	}

	bool FGraphExecutor::ReadInput(UEdGraphPin* Pin, const FProperty* Param, void* Dest, FCallContext& Context)
	{
		FString Error;
		if (Pin->LinkedTo.Num() > 0)
		{
			UEdGraphPin* SourcePin = Pin->LinkedTo[0];
			UK2Node_CallFunction* SourceCall = Cast<UK2Node_CallFunction>(SourcePin->GetOwningNode());
			if (!SourceCall)
			{
				AddError(FString::Printf(TEXT("%s: input %s reads from %s, which the executor cannot run"),
					*Pin->GetOwningNode()->GetName(), *Pin->GetName(), *SourcePin->GetOwningNode()->GetName()));
				return false;
			}
			if (SourceCall->IsNodePure() && !Context.EvaluatedPureNodes.Contains(SourceCall))
			{
				Context.EvaluatedPureNodes.Add(SourceCall);
				if (!Execute(SourceCall, Context))
				{
					return false;
				}
			}
			const FProperty* SourceProperty = nullptr;
			const void* Source = GetOutputValueAddress(SourcePin, &SourceProperty);
			if (!Source)
			{
				// An output that was never produced reads as its type's default value (the parameter's own).
				return true;
			}
			if (!CopyValue(SourceProperty, Source, Param, Dest, Error))
			{
				AddError(FString::Printf(TEXT("%s: input %s: %s"), *Pin->GetOwningNode()->GetName(), *Pin->GetName(), *Error));
				return false;
			}
			return true;
		}

		// An unlinked input passes its literal, which the compiler checks as the schema does.
		const FString Invalid = GetDefault<UEdGraphSchema_K2>()->IsPinDefaultValid(Pin, Pin->DefaultValue, Pin->DefaultObject, Pin->DefaultTextValue);
		if (!Invalid.IsEmpty())
		{
			AddError(FString::Printf(TEXT("%s: input %s: %s"), *Pin->GetOwningNode()->GetName(), *Pin->GetName(), *Invalid));
			return false;
		}
		if (!ImportLiteral(Pin, Param, Dest, Error))
		{
			AddError(FString::Printf(TEXT("%s: input %s: %s"), *Pin->GetOwningNode()->GetName(), *Pin->GetName(), *Error));
			return false;
		}
		return true;
	}

	bool FGraphExecutor::Execute(UEdGraphNode* Node, FCallContext& Context)
	{
		UK2Node_CallFunction* CallNode = Cast<UK2Node_CallFunction>(Node);
		if (!CallNode)
		{
			AddError(FString::Printf(TEXT("%s is not a function call; the executor runs function calls only"), *Node->GetName()));
			return false;
		}
		UFunction* Function = CallNode->GetTargetFunction();
		if (!Function)
		{
			AddError(FString::Printf(TEXT("%s: the function %s cannot be found"), *Node->GetName(), *CallNode->FunctionReference.GetMemberName().ToString()));
			return false;
		}
		if (Context.Depth > 64)
		{
			AddError(FString::Printf(TEXT("%s: pure calls read each other in a loop"), *Node->GetName()));
			return false;
		}

		// The parameter block, each parameter constructed as the engine does before a call.
		const int32 BlockSize = Function->ParmsSize > 0 ? Function->ParmsSize : 1;
		uint8* Parms = static_cast<uint8*>(::operator new((size_t)BlockSize));
		std::memset(Parms, 0, (size_t)BlockSize);
		for (TFieldIterator<FProperty> It(Function); It && It->HasAnyPropertyFlags(CPF_Parm); ++It)
		{
			It->InitializeValue_InContainer(Parms);
		}

		FCallContext InputContext;
		InputContext.Depth = Context.Depth + 1;
		bool bSucceeded = true;
		for (TFieldIterator<FProperty> It(Function); It && It->HasAnyPropertyFlags(CPF_Parm) && bSucceeded; ++It)
		{
			if (!IsFunctionInput(*It))
			{
				continue;
			}
			UEdGraphPin* Pin = CallNode->FindPin(It->GetFName(), EGPD_Input);
			if (!Pin || Pin->bOrphanedPin)
			{
				AddError(FString::Printf(TEXT("%s has no input pin %s"), *Node->GetName(), *It->GetName()));
				bSucceeded = false;
				break;
			}
			bSucceeded = ReadInput(Pin, *It, It->ContainerPtrToValuePtr<void>(Parms), InputContext);
		}

		// The object the function runs on: the class default object of a static function, else the target.
		UObject* Target = nullptr;
		if (bSucceeded)
		{
			if (Function->HasAnyFunctionFlags(FUNC_Static))
			{
				Target = Function->GetOwnerClass()->GetDefaultObject();
			}
			else if (UEdGraphPin* SelfPin = CallNode->FindPin(UEdGraphSchema_K2::PN_Self, EGPD_Input))
			{
				if (SelfPin->LinkedTo.Num() > 0)
				{
					const FProperty* SourceProperty = nullptr;
					const void* Source = GetOutputValueAddress(SelfPin->LinkedTo[0], &SourceProperty);
					Target = Source ? *static_cast<UObject* const*>(Source) : nullptr;
				}
				else
				{
					Target = SelfPin->DefaultObject ? SelfPin->DefaultObject.Get() : SelfObject;
				}
			}
			if (Target == nullptr)
			{
				AddError(FString::Printf(TEXT("%s: accessed None calling %s"), *Node->GetName(), *Function->GetName()));
				bSucceeded = false;
			}
		}

		if (bSucceeded)
		{
			Target->ProcessEvent(Function, Parms);
			Calls.Add(FExecutedCall{ Node, Function });
			for (TFieldIterator<FProperty> It(Function); It && It->HasAnyPropertyFlags(CPF_Parm); ++It)
			{
				if (IsFunctionInput(*It))
				{
					continue;
				}
				if (UEdGraphPin* OutputPin = CallNode->FindPin(It->GetFName(), EGPD_Output))
				{
					StoreOutput(OutputPin, *It, It->ContainerPtrToValuePtr<void>(Parms));
				}
			}
		}

		for (TFieldIterator<FProperty> It(Function); It && It->HasAnyPropertyFlags(CPF_Parm); ++It)
		{
			It->DestroyValue_InContainer(Parms);
		}
		::operator delete(Parms);
		return bSucceeded;
	}

	bool FGraphExecutor::Run(UEdGraphNode* StartNode)
	{
		check(StartNode);
		UEdGraphNode* Node = StartNode;
		const UK2Node_CallFunction* StartCall = Cast<UK2Node_CallFunction>(StartNode);
		if (StartCall && StartCall->IsNodePure())
		{
			AddError(FString::Printf(TEXT("%s is a pure call: it runs only when another node reads it"), *StartNode->GetName()));
			return false;
		}
		const bool bEntry = !StartCall && StartNode->FindPin(UEdGraphSchema_K2::PN_Execute, EGPD_Input) == nullptr;

		// A chain longer than this loops.
		for (int32 Step = 0; Step < 10000; ++Step)
		{
			if (!(bEntry && Node == StartNode))
			{
				FCallContext Context;
				if (!Execute(Node, Context))
				{
					return false;
				}
			}
			UEdGraphPin* ThenPin = Node->FindPin(UEdGraphSchema_K2::PN_Then, EGPD_Output);
			if (!ThenPin || ThenPin->LinkedTo.Num() == 0)
			{
				return true;
			}
			UEdGraphPin* NextPin = ThenPin->LinkedTo[0];
			if (!UEdGraphSchema_K2::IsExecPin(*NextPin) || NextPin->Direction != EGPD_Input)
			{
				AddError(FString::Printf(TEXT("%s: then leads to %s, which is not an execution input"), *Node->GetName(), *NextPin->GetName()));
				return false;
			}
			Node = NextPin->GetOwningNode();
		}
		AddError(TEXT("the execution chain does not end"));
		return false;
	}
}
