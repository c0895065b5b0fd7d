/* The yardstick for rewriting a page: libxml2 reads an HTML file into its
 * tree and writes the tree back out, as a C program would do it. */
#include <libxml/HTMLparser.h>
#include <libxml/HTMLtree.h>
#include <stdio.h>

int main(int argc, char** argv) {
    if (argc != 3) {
        fprintf(stderr, "usage: %s IN.html OUT.html\n", argv[0]);
        return 2;
    }
    htmlDocPtr doc = htmlReadFile(
        argv[1], NULL,
        HTML_PARSE_RECOVER | HTML_PARSE_NOERROR | HTML_PARSE_NOWARNING | XML_PARSE_HUGE);
    if (doc == NULL) return 1;
    FILE* out = fopen(argv[2], "wb");
    if (out == NULL) return 1;
    htmlDocDump(out, doc);
    int failed = fclose(out) != 0;
    xmlFreeDoc(doc);
    return failed;
}
