// UK2Node_CallFunction: a call of a reflected function, with one pin per parameter.
#include "K2Node_CallFunction.h"

#include "EdGraph/EdGraph.h"
#include "EdGraphSchema_K2.h"
#include "KismetCompiler.h"
#include "UObject/Interface.h"
#include "UObject/UnrealType.h"

UK2Node_CallFunction::UK2Node_CallFunction(const FObjectInitializer& ObjectInitializer)
	: Super(ObjectInitializer)
{
}

UFunction* UK2Node_CallFunction::GetTargetFunction() const
{
	// A self-context call would resolve on the Blueprint's class; the stand-in has none.
	return FunctionReference.ResolveMember<UFunction>(nullptr);
}

void UK2Node_CallFunction::SetFromFunction(const UFunction* Function)
{
	if (Function != nullptr)
	{
		bIsPureFunc = Function->HasAnyFunctionFlags(FUNC_BlueprintPure);
		bIsConstFunc = Function->HasAnyFunctionFlags(FUNC_Const);
		// Without a Blueprint class of its own, a node calls every function as a member of another class.
		FunctionReference.SetFromField<UFunction>(Function, false);
	}
}

void UK2Node_CallFunction::AllocateDefaultPins()
{
	// The engine finds the node's Blueprint here (and asserts when there is none); the stand-in asks for a graph.
	checkf(GetGraph() != nullptr, TEXT("AllocateDefaultPins: node %s is not in a graph"), *GetName());

	if (UFunction* Function = GetTargetFunction())
	{
		CreatePinsForFunctionCall(Function);
	}
	Super::AllocateDefaultPins();
}

bool UK2Node_CallFunction::CreateExecPinsForFunctionCall(const UFunction* Function)
{
	if (!bIsPureFunc)
	{
		CreatePin(EGPD_Input, UEdGraphSchema_K2::PC_Exec, UEdGraphSchema_K2::PN_Execute);
		UEdGraphPin* OutputExecPin = CreatePin(EGPD_Output, UEdGraphSchema_K2::PC_Exec, UEdGraphSchema_K2::PN_Then);
		// Latent functions name their output 'Completed'.
		if (Function->HasMetaData(TEXT("Latent")))
		{
			OutputExecPin->PinFriendlyName = FText::FromName(UEdGraphSchema_K2::PN_Completed);
		}
	}
	return true;
}

UEdGraphPin* UK2Node_CallFunction::CreateSelfPin(const UFunction* Function)
{
	// The function can be called on any object at least as specific as the class that first declares it.
	const UFunction* FirstDeclaredFunction = Function;
	while (FirstDeclaredFunction->GetSuperFunction() != nullptr)
	{
		FirstDeclaredFunction = FirstDeclaredFunction->GetSuperFunction();
	}
	UClass* FunctionClass = FirstDeclaredFunction->GetOwnerClass();
	check(FunctionClass);

	UEdGraphPin* SelfPin = nullptr;
	if (FunctionClass->IsChildOf(UInterface::StaticClass()))
	{
		SelfPin = CreatePin(EGPD_Input, UEdGraphSchema_K2::PC_Interface, FunctionClass, UEdGraphSchema_K2::PN_Self);
	}
	else
	{
		// A function of another class than the Blueprint's: the target is an object of that class.
		SelfPin = CreatePin(EGPD_Input, UEdGraphSchema_K2::PC_Object, FunctionClass, UEdGraphSchema_K2::PN_Self);
	}
	check(SelfPin != nullptr);
	return SelfPin;
}

bool UK2Node_CallFunction::CreatePinsForFunctionCall(const UFunction* Function)
{
	const UEdGraphSchema_K2* K2Schema = GetDefault<UEdGraphSchema_K2>();

	UClass* FunctionOwnerClass = Function->GetOwnerClass();

	bIsInterfaceCall = FunctionOwnerClass->HasAnyClassFlags(CLASS_Interface);
	bIsPureFunc = (Function->HasAnyFunctionFlags(FUNC_BlueprintPure) != false);
	bIsConstFunc = (Function->HasAnyFunctionFlags(FUNC_Const) != false);

	// The stand-in does not model the pins the compiler fills in or expands itself: refuse what needs them
	// rather than make pins the engine would not.
	checkf(!Function->HasMetaData(TEXT("ExpandEnumAsExecs")) && !Function->HasMetaData(TEXT("ExpandBoolAsExecs")),
		TEXT("%s: the stand-in's call nodes do not expand enums or bools into execution pins"), *Function->GetName());
	checkf(!Function->HasMetaData(TEXT("WorldContext")) && !Function->HasMetaData(TEXT("DefaultToSelf")) && !Function->HasMetaData(TEXT("HidePin"))
		&& !Function->HasMetaData(TEXT("InternalUseParam")),
		TEXT("%s: the stand-in's call nodes do not hide parameters"), *Function->GetName());

	CreateExecPinsForFunctionCall(Function);

	UEdGraphPin* SelfPin = CreateSelfPin(Function);
	SelfPin->PinFriendlyName = NSLOCTEXT("K2Node", "Target", "Target");

	// The node is taken to be in the graph of a Blueprint whose class is not the function's (the stand-in has no
	// Blueprint classes).
	const bool bIsStaticFunc = Function->HasAllFunctionFlags(FUNC_Static);
	if (bIsStaticFunc)
	{
		// A static function is called on its class's default object.
		SelfPin->DefaultObject = FunctionOwnerClass->GetDefaultObject();
		SelfPin->bHidden = true;
	}
	else if (Function->GetBoolMetaData(TEXT("HideSelfPin")))
	{
		SelfPin->bHidden = true;
		SelfPin->bNotConnectable = true;
	}
	else
	{
		SelfPin->bHidden = false;
	}

	bool bAllPinsGood = true;
	for (TFieldIterator<FProperty> PropIt(Function); PropIt && (PropIt->PropertyFlags & CPF_Parm); ++PropIt)
	{
		FProperty* Param = *PropIt;
		const bool bIsFunctionInput = !Param->HasAnyPropertyFlags(CPF_ReturnParm) && (!Param->HasAnyPropertyFlags(CPF_OutParm) || Param->HasAnyPropertyFlags(CPF_ReferenceParm));
		const bool bIsRefParam = Param->HasAnyPropertyFlags(CPF_ReferenceParm) && bIsFunctionInput;

		const EEdGraphPinDirection Direction = bIsFunctionInput ? EGPD_Input : EGPD_Output;

		UEdGraphNode::FCreatePinParams PinParams;
		PinParams.bIsReference = bIsRefParam;
		UEdGraphPin* Pin = CreatePin(Direction, NAME_None, Param->GetFName(), PinParams);
		const bool bPinGood = (Pin && K2Schema->ConvertPropertyToPinType(Param, Pin->PinType));

		if (bPinGood)
		{
			const FString& PinDisplayName = Param->GetMetaData(TEXT("DisplayName"));
			if (!PinDisplayName.IsEmpty())
			{
				Pin->PinFriendlyName = FText::FromString(PinDisplayName);
			}
			else if (Function->GetReturnProperty() == Param && Function->HasMetaData(TEXT("ReturnDisplayName")))
			{
				Pin->PinFriendlyName = FText::FromString(Function->GetMetaData(TEXT("ReturnDisplayName")));
			}

			// A const reference parameter takes no literal unless the function asks for one to be made.
			Pin->bDefaultValueIsIgnored = Param->HasAllPropertyFlags(CPF_ConstParm | CPF_ReferenceParm)
				&& (!Function->HasMetaData(TEXT("AutoCreateRefTerm")) || Pin->PinType.IsContainer());
			Pin->bDefaultValueIsIgnored |= Param->HasAnyPropertyFlags(CPF_RequiredParm);
			Pin->bAdvancedView = Param->HasAllPropertyFlags(CPF_AdvancedDisplay);

			FString ParamValue;
			if (K2Schema->FindFunctionParameterDefaultValue(Function, Param, ParamValue))
			{
				K2Schema->SetPinAutogeneratedDefaultValue(Pin, ParamValue);
			}
			else
			{
				K2Schema->SetPinAutogeneratedDefaultValueBasedOnType(Pin);
			}

			PostParameterPinCreated(Pin);
		}

		bAllPinsGood = bAllPinsGood && bPinGood;
	}

	return bAllPinsGood;
}

void UK2Node_CallFunction::PostReconstructNode()
{
	Super::PostReconstructNode();

	UFunction* Function = GetTargetFunction();
	const bool bIsStaticFunc = Function ? Function->HasAllFunctionFlags(FUNC_Static) : false;
	UEdGraphPin* SelfPin = FindPin(UEdGraphSchema_K2::PN_Self);
	if (bIsStaticFunc && SelfPin)
	{
		SelfPin->DefaultObject = Function->GetOwnerClass()->GetDefaultObject();
	}
}

FText UK2Node_CallFunction::GetNodeTitle(ENodeTitleType::Type /*TitleType*/) const
{
	if (UFunction* Function = GetTargetFunction())
	{
		const FString& DisplayName = Function->GetMetaData(TEXT("DisplayName"));
		return FText::FromString(DisplayName.IsEmpty() ? Function->GetName() : DisplayName);
	}
	return FText::FromString(FunctionReference.GetMemberName().ToString());
}

FText UK2Node_CallFunction::GetTooltipText() const
{
	if (UFunction* Function = GetTargetFunction())
	{
		return Function->GetToolTipText();
	}
	return FText::GetEmpty();
}

void UK2Node_CallFunction::ExpandNode(FKismetCompilerContext& CompilerContext, UEdGraph* SourceGraph)
{
	Super::ExpandNode(CompilerContext, SourceGraph);
}

UEdGraphPin* UK2Node_CallFunction::GetThenPin() const
{
	UEdGraphPin* Pin = FindPin(UEdGraphSchema_K2::PN_Then);
	check(Pin == nullptr || Pin->Direction == EGPD_Output);
	return Pin;
}

UEdGraphPin* UK2Node_CallFunction::GetReturnValuePin() const
{
	UEdGraphPin* Pin = FindPin(UEdGraphSchema_K2::PN_ReturnValue);
	check(Pin == nullptr || Pin->Direction == EGPD_Output);
	return Pin;
}
