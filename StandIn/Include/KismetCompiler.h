// FKismetCompilerContext (KismetCompiler): the Blueprint compiler as nodes see it while they expand: spawning
// intermediate nodes and moving or copying links to their pins. The stand-in compiles nothing: a graph's nodes
// are expanded (KismetCompilerTesting.h) and the expanded graph can be run (the graph executor there).
#pragma once

#include "CoreMinimal.h"
#include "EdGraphCompilerUtilities.h"
#include "EdGraph/EdGraph.h"
#include "EdGraph/EdGraphNode.h"
#include "EdGraph/EdGraphSchema.h"
#include "EdGraphSchema_K2.h"
#include "Engine/Blueprint.h"
#include "Kismet2/CompilerResultsLog.h"

class UBlueprint;
class UEdGraphPin;

class KISMETCOMPILER_API FKismetCompilerContext : public FGraphCompilerContext
{
public:
	typedef FGraphCompilerContext Super;

	/** The Blueprint being compiled (none in the stand-in, which has no Blueprint assets). */
	UBlueprint* Blueprint;

	/** The schema the compiled graphs follow. */
	UEdGraphSchema_K2* Schema;

	FKismetCompilerContext(UBlueprint* SourceSketch, FCompilerResultsLog& InMessageLog, const FKismetCompilerOptions& InCompilerOptions);
	virtual ~FKismetCompilerContext();

	const UEdGraphSchema_K2* GetSchema() const { return Schema; }

	/** Spawns an intermediate node (one of the graph being compiled, made by an expansion) standing for SourceNode. */
	template <typename NodeType>
	NodeType* SpawnIntermediateNode(UEdGraphNode* SourceNode, UEdGraph* ParentGraph = nullptr)
	{
		if (ParentGraph == nullptr)
		{
			ParentGraph = SourceNode->GetGraph();
		}

		NodeType* Result = ParentGraph->CreateIntermediateNode<NodeType>();
		MessageLog.NotifyIntermediateObjectCreation(Result, SourceNode);
		Result->CreateNewGuid();

		AutoAssignNodePosition(Result);

		return Result;
	}

	/** Moves the links (and default value) of SourcePin to IntermediatePin; nothing for an orphaned SourcePin. */
	FPinConnectionResponse MovePinLinksToIntermediate(UEdGraphPin& SourcePin, UEdGraphPin& IntermediatePin);

	/** Copies the links (and default value) of SourcePin to IntermediatePin; nothing for an orphaned SourcePin. */
	FPinConnectionResponse CopyPinLinksToIntermediate(UEdGraphPin& SourcePin, UEdGraphPin& IntermediatePin);

	/** Reports a connection the schema refused as an error on Node; true if the connection was made as asked. */
	bool CheckConnectionResponse(const FPinConnectionResponse& Response, const UEdGraphNode* Node);

protected:
	/** Places an intermediate node (positions mean nothing to the stand-in). */
	void AutoAssignNodePosition(UEdGraphNode* Node);

	/** Options of the compilation. */
	FKismetCompilerOptions CompileOptions;
};
