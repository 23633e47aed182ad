// UEdGraph (Engine): a graph of nodes that follows a schema, and FGraphNodeCreator, the way nodes are placed in one.
#pragma once

#include "CoreMinimal.h"
#include "UObject/ObjectMacros.h"
#include "UObject/Object.h"
#include "Misc/Guid.h"
#include "UObject/Class.h"
#include "Templates/SubclassOf.h"
#include "Templates/Casts.h"
#include "EdGraph/EdGraphNode.h"
#include "EdGraph.generated.h"

class UEdGraphSchema;

UCLASS()
class ENGINE_API UEdGraph : public UObject
{
	GENERATED_UCLASS_BODY()

public:
	/** The schema that this graph obeys */
	UPROPERTY()
	TSubclassOf<UEdGraphSchema> Schema;

	/** Set of all nodes in this graph */
	UPROPERTY()
	TArray<TObjectPtr<UEdGraphNode>> Nodes;

	/** If true, graph can be edited by the user */
	UPROPERTY()
	uint32 bEditable : 1;

	/** Guid for this graph */
	UPROPERTY()
	FGuid GraphGuid;

public:
	template <typename NodeType> friend struct FGraphNodeCreator;

	/** Get the schema associated with this graph */
	const class UEdGraphSchema* GetSchema() const;

	/** Creates an empty node of the given type, marked as an intermediate node (one an expansion created). */
	template <typename NodeClass>
	NodeClass* CreateIntermediateNode()
	{
		NodeClass* Node = (NodeClass*)CreateNode(NodeClass::StaticClass());
		FSetAsIntermediateNode SetAsIntermediate(Node);
		return Node;
	}

	/**
	 * Add a node to the graph
	 * @param NodeToAdd			A graph node to add to the graph
	 * @param bUserAction		true if the node was added as the result of a direct user action
	 * @param bSelectNewNode	Whether or not to select the new node being created
	 */
	virtual void AddNode(UEdGraphNode* NodeToAdd, bool bUserAction = false, bool bSelectNewNode = true);

	/**
	 * Remove a node from this graph
	 * @param NodeToRemove		The node to remove from this graph
	 * @param bBreakAllLinks	If true, all links will be broken on the given node.
	 * @return True if the node has been removed from the graph
	 */
	bool RemoveNode(UEdGraphNode* NodeToRemove, bool bBreakAllLinks = true);

	/** Signal to listeners that the graph has changed */
	virtual void NotifyGraphChanged();

	/** Gets all the nodes in the graph of a given type */
	template<class MinRequiredType>
	inline void GetNodesOfClass(TArray<MinRequiredType*>& OutNodes) const
	{
		for (int32 i = 0; i < Nodes.Num(); i++)
		{
			if (MinRequiredType* TypedNode = Cast<MinRequiredType>(Nodes[i]))
			{
				OutNodes.Add(TypedNode);
			}
		}
	}

protected:
	/**
	 * Creates an empty node in this graph. Use FGraphNodeCreator above
	 *
	 * @param NewNodeClass		The node class to create
	 * @param bFromUI			Whether or not the node was created by the user via the UI
	 * @param bSelectNewNode	Whether or not to select the new node being created
	 *
	 * @return A new graph node of the given type
	 */
	UEdGraphNode* CreateNode(TSubclassOf<UEdGraphNode> NewNodeClass, bool bFromUI, bool bSelectNewNode);

	UEdGraphNode* CreateNode(TSubclassOf<UEdGraphNode> NewNodeClass, bool bSelectNewNode = true)
	{
		return CreateNode(NewNodeClass, false, bSelectNewNode);
	}

	UEdGraphNode* CreateUserInvokedNode(TSubclassOf<UEdGraphNode> NewNodeClass, bool bSelectNewNode = true)
	{
		return CreateNode(NewNodeClass, true, bSelectNewNode);
	}
};

/**
 * Helper object to ensure a graph node is correctly constructed
 *
 * Typical use pattern is:
 * FGraphNodeCreator<NodeType> NodeCreator(Graph);
 * NodeType* Node = NodeCreator.CreateNode();
 * // calls to build out node
 * Node->MemberVar = ...
 * NodeCreator.Finalize();
 */
template <typename NodeType>
struct FGraphNodeCreator
{
public:
	FGraphNodeCreator(UEdGraph& InGraph)
		: Node(nullptr)
		, Graph(InGraph)
		, bPlaced(false)
	{
	}

	/** Create an empty placeable graph node */
	NodeType* CreateNode(bool bSelectNewNode = true, TSubclassOf<NodeType> NodeClass = NodeType::StaticClass())
	{
		Node = (NodeType*)Graph.CreateNode(NodeClass, bSelectNewNode);
		return Node;
	}

	/** Create an empty placeable graph node */
	NodeType* CreateUserInvokedNode(bool bSelectNewNode = true, TSubclassOf<NodeType> NodeClass = NodeType::StaticClass())
	{
		Node = (NodeType*)Graph.CreateUserInvokedNode(NodeClass, bSelectNewNode);
		return Node;
	}

	/** Call to finalize the node's construction */
	void Finalize()
	{
		check(!bPlaced);
		Node->CreateNewGuid();
		Node->PostPlacedNewNode();
		bPlaced = true;
		if (Node->Pins.Num() == 0)
		{
			Node->AllocateDefaultPins();
		}
	}

	/** Destructor. Ensures that finalized was called */
	~FGraphNodeCreator()
	{
		checkf(bPlaced, TEXT("Created node was not finalized in a FGraphNodeCreator<%s>"), *NodeType::StaticClass()->GetName());
	}

	FGraphNodeCreator(const FGraphNodeCreator& rhs) = delete;
	FGraphNodeCreator& operator=(const FGraphNodeCreator& rhs) = delete;

private:
	/** The created node */
	NodeType* Node;
	/** Graph reference we're creating the node in */
	UEdGraph& Graph;
	/** If the node has placed and finalized */
	bool bPlaced;
};
