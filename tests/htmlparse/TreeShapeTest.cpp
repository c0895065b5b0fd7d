// The tree keeps the page's structure: nothing invented or moved, implied
// ends where HTML implies them, end tags matched to what is open.
#include <gtest/gtest.h>

#include "ParseHelpers.h"

using parsetest::ExpectOutlines;

TEST(TreeShape, ImpliedEnds) {
    ExpectOutlines({
        // Nothing is invented; what is open at the end ends there.
        {"<title>t</title><h1>x</h1>", "TITLE{\"t\"/r} H1{\"x\"}"},
        {"<html><body><div><p>x", "HTML{BODY{DIV{P{\"x\"}}}}"},
        {"<html><head><title>t</title><meta a=b><body>x</body></html>",
         "HTML{HEAD{TITLE{\"t\"/r} META[a=b]} BODY{\"x\"}}"},
        {"<html><head><title>t</title>text</html>", "HTML{HEAD{TITLE{\"t\"/r}} \"text\"}"},
        {"<p><img src=a>x<br>y<hr><input>z", "P{IMG[src=a] \"x\" BR \"y\"} HR INPUT \"z\""},
        {"<p>a<p>b<div>c</div><p>d<ul><li>e</ul>",
         "P{\"a\"} P{\"b\"} DIV{\"c\"} P{\"d\"} UL{LI{\"e\"}}"},
        {"<p>a<span>b<h1>c</h1>", "P{\"a\" SPAN{\"b\"}} H1{\"c\"}"},
        // A button bounds the search for the open P.
        {"<p><button><div>x</div></button>", "P{BUTTON{DIV{\"x\"}}}"},
        {"<ul><li>a<li>b<ul><li>c</ul><li>d</ul>",
         "UL{LI{\"a\"} LI{\"b\" UL{LI{\"c\"}}} LI{\"d\"}}"},
        {"<dl><dt>a<dd>b<p>c<dt>d</dl>", "DL{DT{\"a\"} DD{\"b\" P{\"c\"}} DT{\"d\"}}"},
        {"<select><option>a<option>b<optgroup><option>c</select>",
         "SELECT{OPTION{\"a\"} OPTION{\"b\"} OPTGROUP{OPTION{\"c\"}}}"},
        // A DIV does not shelter an open LI from the next one; a BLOCKQUOTE does.
        {"<li>a<div><li>b</div>", "LI{\"a\" DIV} LI{\"b\" </div>}"},
        {"<li>a<blockquote><li>b</blockquote>", "LI{\"a\" BLOCKQUOTE{LI{\"b\"}}}"},
        {"<table><tr><td>a<td>b<tr><th>c</table>", "TABLE{TR{TD{\"a\"} TD{\"b\"}} TR{TH{\"c\"}}}"},
        {"<table><thead><tr><td>a<tbody><tr><td>b</table>",
         "TABLE{THEAD{TR{TD{\"a\"}}} TBODY{TR{TD{\"b\"}}}}"},
        // A nested table's cells do not close the outer cell.
        {"<table><tr><td><table><tr><td>x</table>y<td>z</table>",
         "TABLE{TR{TD{TABLE{TR{TD{\"x\"}}} \"y\"} TD{\"z\"}}}"},
        {"<a href=1>x<a href=2>y</a>", "A[href=1]{\"x\"} A[href=2]{\"y\"}"},
    });
}

TEST(TreeShape, EndTagsCloseUpToTheirNearestOpenMatch) {
    ExpectOutlines({
        {"<div><b><i>x</div>y", "DIV{B{I{\"x\"}}} \"y\""},
        {"<b>x</i>y</b>", "B{\"x\" </i> \"y\"}"},
        {"<x-a><x-b>1</X-A>2", "<x-a{<x-b{\"1\"}} \"2\""},
        // A stray end tag inside a table cell does not tear the table apart.
        {"<div><table><tr><td>a</div>b</td></tr></table></div>",
         "DIV{TABLE{TR{TD{\"a\" </div> \"b\"}}}}"},
        // End tags that close nothing are kept as written; "</p>" and "</br>",
        // which stand for elements, after HEAD, not in it.
        {"a</p>b</br>c</X y=1 >d", "\"a\" </p> \"b\" </br> \"c\" </X y=1 > \"d\""},
        {"<head></p>", "HEAD </p>"},
    });
}
