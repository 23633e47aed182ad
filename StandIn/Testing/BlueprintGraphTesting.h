// Test controls of the stand-in's Blueprint graphs: the actions a node class adds to the Blueprint action menu,
// the expansion of a graph as the Blueprint compiler expands it, and a small executor that runs an expanded graph.
//
// A test builds a graph the way the editor does (a UEdGraph whose Schema is UEdGraphSchema_K2, nodes placed with
// FGraphNodeCreator, links made with the schema's TryCreateConnection or UEdGraphPin::MakeLinkTo), expands it with
// ExpandGraph, and runs it with FGraphExecutor:
//
// @code
//   UEdGraph* Graph = NewObject<UEdGraph>();
//   Graph->Schema = UEdGraphSchema_K2::StaticClass();
//   FGraphNodeCreator<UMyNode> Creator(*Graph);
//   UMyNode* Node = Creator.CreateNode();
//   Creator.Finalize();
//   BlueprintGraphTesting::FExpansion Expansion = BlueprintGraphTesting::ExpandGraph(Graph);
//   BlueprintGraphTesting::FGraphExecutor Executor(Graph);
//   Executor.Run(FirstCallNode);       // one frame; call again for the next
// @endcode
//
// The expansion works on the graph it is given (the engine's compiler expands a copy of the graph the user edits).
// The executor does what the compiled graph would do: it walks the execution chain from a node, calls each function
// call node through reflection (UObject::ProcessEvent, a static function on its class's default object) with the
// values of its inputs (the value of the linked output, or the pin's literal default, which must be one the schema
// accepts, as the compiler requires), and keeps each call's outputs. Pure calls run when an input needs their
// output, once for each node that reads them, as the Blueprint virtual machine runs them. Outputs are kept from
// one run to the next (the persistent frame of an event graph); an output never produced reads as its type's
// default value.
#pragma once

#include "CoreMinimal.h"

class FProperty;
class UBlueprintNodeSpawner;
class UClass;
class UEdGraph;
class UEdGraphNode;
class UEdGraphPin;
class UFunction;
class UObject;

namespace BlueprintGraphTesting
{
	/** One action a node class added to the Blueprint action menu, with the key it was recorded under. */
	struct FMenuAction
	{
		const UObject* ActionKey = nullptr;
		UBlueprintNodeSpawner* NodeSpawner = nullptr;
	};

	/**
	 * Asks the default object of a UK2Node class for its menu actions, as the Blueprint action database does:
	 * through a registrar whose generating class is NodeClass and whose key filter is ActionKeyFilter (none:
	 * every action is taken). Returns what was added, in order.
	 */
	STANDIN_ENGINE_API TArray<FMenuAction> GetMenuActions(UClass* NodeClass, const UObject* ActionKeyFilter = nullptr);

	/** A compiler message. */
	struct FCompilerMessage
	{
		/** "Error", "Warning" or "Note". */
		FString Severity;
		FString Text;
	};

	/** What expanding a graph did. */
	struct FExpansion
	{
		/** The nodes the expansion created (UEdGraph::CreateIntermediateNode), in creation order. */
		TArray<UEdGraphNode*> IntermediateNodes;

		/** For each intermediate node, the node of the original graph it was made from (through any others). */
		TMap<UEdGraphNode*, UEdGraphNode*> SourceNodes;

		/** The compiler's messages, in order. */
		TArray<FCompilerMessage> Messages;

		int32 NumErrors = 0;
		int32 NumWarnings = 0;
	};

	/**
	 * Expands the graph's nodes as the Blueprint compiler's expansion step does: ExpandNode of every UK2Node of the
	 * graph in node order, the nodes an expansion adds included, with one compiler context for the whole graph.
	 */
	STANDIN_ENGINE_API FExpansion ExpandGraph(UEdGraph* Graph);

	/** One function call the executor made. */
	struct FExecutedCall
	{
		UEdGraphNode* Node = nullptr;
		UFunction* Function = nullptr;
	};

	/** Runs an expanded graph; see the top of this file. */
	class STANDIN_ENGINE_API FGraphExecutor
	{
	public:
		explicit FGraphExecutor(UEdGraph* InGraph);
		~FGraphExecutor();

		FGraphExecutor(const FGraphExecutor&) = delete;
		FGraphExecutor& operator=(const FGraphExecutor&) = delete;

		/** The object the calls of member functions without a target run on (the Blueprint's "self"). */
		void SetSelfObject(UObject* InSelfObject);

		/**
		 * Runs the execution chain that starts at StartNode: the node itself when it is an impure function call,
		 * then the node linked to each then pin in turn, until a then pin has no link. A start node that is not
		 * a call and has no execute pin (an entry) is followed from its then pin. False, with the reason in
		 * GetErrors, when a node cannot be run (not a function call, an input without a value the compiler
		 * would accept, a function that cannot be found).
		 */
		bool Run(UEdGraphNode* StartNode);

		/** The calls of the runs so far, in order. */
		const TArray<FExecutedCall>& GetCalls() const { return Calls; }

		/** The names of the functions called so far, in order. */
		TArray<FName> GetCalledFunctionNames() const;

		/** Why runs failed. */
		const TArray<FString>& GetErrors() const { return Errors; }

		/** Address and property of the value an output pin holds, or null when its node has not run. */
		const void* GetOutputValueAddress(const UEdGraphPin* OutputPin, const FProperty** OutProperty = nullptr) const;

		/** The value of an output pin as T (T's size must be the property's), or null. */
		template <typename T>
		const T* GetOutputValue(const UEdGraphPin* OutputPin) const
		{
			const FProperty* Property = nullptr;
			const void* Address = GetOutputValueAddress(OutputPin, &Property);
			return Address && PropertyValueSize(Property) == (int32)sizeof(T) ? static_cast<const T*>(Address) : nullptr;
		}

		/** Forgets the calls, errors and kept outputs. */
		void Reset();

	private:
		struct FStoredValue;
		struct FCallContext;

		static int32 PropertyValueSize(const FProperty* Property);

		bool Execute(UEdGraphNode* Node, FCallContext& Context);
		bool ReadInput(UEdGraphPin* Pin, const FProperty* Param, void* Dest, FCallContext& Context);
		void StoreOutput(const UEdGraphPin* Pin, const FProperty* Param, const void* Source);
		void AddError(const FString& Error);

		UEdGraph* Graph;
		UObject* SelfObject;
		TArray<FExecutedCall> Calls;
		TArray<FString> Errors;
		TMap<const UEdGraphPin*, FStoredValue*> Outputs;
	};
}
