// How the Korvat nodes become calls of the function library when a Blueprint is compiled.
#pragma once

#include "CoreMinimal.h"
#include "KorvatNodeField.h"
#include "KorvatNodeSupport.h"

class FKismetCompilerContext;
class UEdGraph;
class UK2Node;

namespace KorvatNodeExpansion
{
/**
 * Expands a single-field node into the library's reader (Get: pins Result and IsValid) or sender (Send: pin Value)
 * for Type, moving the links of execute, then, Node and Field too. A missing pin, a type outside the enumeration
 * or a missing function leaves the node unexpanded.
 */
void ExpandSingleField(UK2Node& Node, FKismetCompilerContext& CompilerContext, UEdGraph* SourceGraph, KorvatNodeSupport::ELibraryCall Call,
	KorvatType Type);

/**
 * Expands a multi-field node into one library call per field of its direction, in array order, each call's field
 * name typed in and the node's Node links copied to it; a Get node's IsValid becomes the AND of every call's
 * availability. A field of an unknown type ends the chain. The node's own links are broken afterwards.
 */
void ExpandFieldChain(UK2Node& Node, FKismetCompilerContext& CompilerContext, UEdGraph* SourceGraph, KorvatNodeSupport::ELibraryCall Call,
	const TArray<const FKorvatNodeField*>& Fields);

template <typename FieldType>
void ExpandFieldChain(UK2Node& Node, FKismetCompilerContext& CompilerContext, UEdGraph* SourceGraph, KorvatNodeSupport::ELibraryCall Call,
	const TArray<FieldType>& Fields)
{
	TArray<const FKorvatNodeField*> Records;
	Records.Reserve(Fields.Num());
	for (const FieldType& Field : Fields)
	{
		Records.Add(&Field);
	}
	ExpandFieldChain(Node, CompilerContext, SourceGraph, Call, Records);
}
} // namespace KorvatNodeExpansion
